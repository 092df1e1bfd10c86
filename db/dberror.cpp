#include "db/dberror.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QStringList>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace kordel {

DbError::DbError(QString message, QString sqlState, QString statement)
    : m_message(std::move(message)), m_sqlState(std::move(sqlState)), m_statement(std::move(statement)),
      m_what(m_message.toUtf8())
{}

DbError DbError::fromSql(const QSqlError &error, const QString &statement)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = u"Неизвестная ошибка базы данных"_s;
    // The ODBC driver reports "SQLSTATE;native" pairs; the five-character state
    // tells a lost connection from a refused statement.
    static const QRegularExpression state(u"^([0-9A-Z]{5})"_s);
    const auto match = state.match(error.nativeErrorCode());
    return DbError(text, match.hasMatch() ? match.captured(1) : QString(), statement);
}

bool DbError::isConnectionLost() const
{
    if (m_sqlState.startsWith(u"08"_s))
        return true;
    // The ODBC driver reports a dropped server by message, not by state.
    static const QStringList signs{u"connection has been lost"_s, u"server closed the connection"_s,
                                   u"no connection to the server"_s, u"could not send data to server"_s};
    return std::any_of(signs.cbegin(), signs.cend(),
                       [this](const QString &sign) { return m_message.contains(sign, Qt::CaseInsensitive); });
}

} // namespace kordel
