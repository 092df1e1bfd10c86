#include "db/command.h"

#include "db/dberror.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace kordel {

Command::Command(const QString &connectionName, const QString &name, const QString &text, QObject *parent)
    : QObject(parent), m_connectionName(connectionName), m_text(text)
{
    setObjectName(name);
}

void Command::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_query.reset();
}

void Command::prepare()
{
    if (m_query && m_generation == sql::connectionGeneration())
        return;
    m_query.reset();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(m_text))
        throw DbError::fromSql(query.lastError(), m_text);
    m_query = std::move(query);
    m_generation = sql::connectionGeneration();
}

int Command::execute()
{
    prepare();
    sql::bind(*m_query, m_text, m_params);
    if (!m_query->exec()) {
        const DbError error = DbError::fromSql(m_query->lastError(), m_text);
        m_query.reset(); // a broken handle must not serve the next call
        throw error;
    }
    const int affected = m_query->numRowsAffected();
    m_query->finish();
    return affected;
}

int Command::run(const QString &text, const Params &params)
{
    setText(text);
    m_params = params;
    return execute();
}

QVariant Command::runReturning(const QString &text, const Params &params)
{
    setText(text);
    m_params = params;
    prepare();
    sql::bind(*m_query, m_text, m_params);
    if (!m_query->exec() || !m_query->next()) {
        const DbError error = DbError::fromSql(m_query->lastError(), m_text);
        m_query.reset();
        throw error;
    }
    const QVariant value = m_query->value(0);
    m_query->finish();
    return value;
}

namespace sql {

int exec(const QString &connectionName, const QString &statement, const Params &params)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    if (!query.prepare(statement))
        throw DbError::fromSql(query.lastError(), statement);
    bind(query, statement, params);
    if (!query.exec())
        throw DbError::fromSql(query.lastError(), statement);
    return query.numRowsAffected();
}

QVariant scalar(const QString &connectionName, const QString &statement, const Params &params)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        throw DbError::fromSql(query.lastError(), statement);
    bind(query, statement, params);
    if (!query.exec())
        throw DbError::fromSql(query.lastError(), statement);
    if (!query.next()) {
        if (query.lastError().isValid())
            throw DbError::fromSql(query.lastError(), statement);
        return {};
    }
    return query.value(0);
}

} // namespace sql
} // namespace kordel
