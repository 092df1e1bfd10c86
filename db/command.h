#pragma once

#include "db/sqlparams.h"

#include <QObject>
#include <QSqlQuery>
#include <QString>
#include <optional>

namespace kordel {

// A statement that changes data: text with named parameters, executed on the
// connection.  The prepared statement is kept while the text stays the same,
// so a loop of executions parses it once.
class Command : public QObject
{
    Q_OBJECT

public:
    Command(const QString &connectionName, const QString &name, const QString &text = {},
            QObject *parent = nullptr);

    void setText(const QString &text);
    const QString &text() const { return m_text; }
    void setParam(const QString &name, const QVariant &value) { m_params.insert(name, value); }
    void clearParams() { m_params.clear(); }

    // Executes with the parameters set; returns the rows affected.  Throws DbError.
    int execute();
    // Sets the text and the parameters, then executes.
    int run(const QString &text, const Params &params = {});
    // For "insert ... returning id": the first column of the first row.
    QVariant runReturning(const QString &text, const Params &params = {});

private:
    void prepare();

    QString m_connectionName;
    QString m_text;
    Params m_params;
    std::optional<QSqlQuery> m_query;
    int m_generation = 0;
};

namespace sql {
// One-off statements on a connection, for the stores' own reads and writes.
int exec(const QString &connectionName, const QString &statement, const Params &params = {});
QVariant scalar(const QString &connectionName, const QString &statement, const Params &params = {});
} // namespace sql

} // namespace kordel
