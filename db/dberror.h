#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class QSqlError;

namespace kordel {

// A failed statement, carrying the driver's message up to the window that
// shows it.  The data layer never shows anything itself.
class DbError : public std::exception
{
public:
    DbError(QString message, QString sqlState = {}, QString statement = {});
    static DbError fromSql(const QSqlError &error, const QString &statement);

    const QString &message() const { return m_message; }
    const QString &sqlState() const { return m_sqlState; }
    const QString &statement() const { return m_statement; }
    // Class 08: the server went away; later statements fail the same way.
    bool isConnectionLost() const;

    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QString m_sqlState;
    QString m_statement;
    QByteArray m_what;
};

} // namespace kordel
