#include "widgets/guarded.h"

namespace kordel {
namespace {
std::function<bool()> reconnectHandler;
bool connectionDown = false;
} // namespace

void setReconnectHandler(std::function<bool()> handler)
{
    reconnectHandler = std::move(handler);
    connectionDown = false;
}

bool isConnectionDown()
{
    return connectionDown && reconnectHandler;
}

bool tryReconnect()
{
    if (!reconnectHandler)
        return false;
    try {
        connectionDown = !reconnectHandler();
    } catch (const DbError &) {
        connectionDown = true;
    }
    return !connectionDown;
}

namespace detail {

void showDatabaseError(QWidget *parent, const DbError &error, bool reconnected)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    messages::databaseError(parent, error, reconnected);
}

bool reconnectBeforeAction(QWidget *parent)
{
    try {
        if (reconnectHandler())
            connectionDown = false;
        else
            throw DbError(QStringLiteral("Нет связи с сервером базы данных."), QStringLiteral("08006"));
    } catch (const DbError &error) {
        // What the driver says about this attempt, not what the dead
        // connection would say.
        showDatabaseError(parent, error, false);
        return false;
    }
    return true;
}

} // namespace detail
} // namespace kordel
