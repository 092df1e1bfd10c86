#pragma once

#include "db/dberror.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCursor>

#include <functional>
#include <utility>

namespace kordel {

// Called when a statement failed because the server went away; returns
// true when the connection could be made again.  Set by the client at start.
void setReconnectHandler(std::function<bool()> handler);
bool tryReconnect();

// Runs one user action.  A database error stops the action and shows the
// driver's message; the window stays usable.  Returns false when it failed.
template<typename Action>
bool guarded(QWidget *parent, Action &&action)
{
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const DbError &error) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        messages::databaseError(parent, error, error.isConnectionLost() && tryReconnect());
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
