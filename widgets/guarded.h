#pragma once

#include "db/dberror.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCursor>
#include <functional>
#include <utility>

namespace kordel {

// Called when a statement failed because the server went away: connects
// again, returning true, or throws DbError with the driver's message.  Set
// by the client at start.
void setReconnectHandler(std::function<bool()> handler);
// Connects again after a lost server; true when the connection is back.
// Until then every guarded action tries again before it runs.
bool tryReconnect();
// The connection was lost and has not been made again yet.
bool isConnectionDown();

namespace detail {
void showDatabaseError(QWidget *parent, const DbError &error, bool reconnected);
// Before an action while the connection is down: one attempt, its failure
// shown with the driver's message.  False when the connection is still down.
bool reconnectBeforeAction(QWidget *parent);
} // namespace detail

// Runs one user action.  A database error stops the action and shows the
// driver's message; the window stays usable.  Returns false when it failed.
// After a lost server every action first tries to connect again.
template <typename Action> bool guarded(QWidget *parent, Action &&action)
{
    if (isConnectionDown() && !detail::reconnectBeforeAction(parent))
        return false;
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const DbError &error) {
        detail::showDatabaseError(parent, error, error.isConnectionLost() && tryReconnect());
        return false;
    }
}

// The hourglass for the length of a scope.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor()
    {
        if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace kordel
