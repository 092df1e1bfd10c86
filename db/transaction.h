#pragma once

#include <QString>

namespace kordel {

// A scoped transaction: rolls back unless committed.  A transaction opened
// while another is running on the same connection joins it; the outer one
// commits or rolls back the whole.  The ODBC driver runs each statement in a
// savepoint, so a failed statement does not spoil the transaction by itself:
// every error must end in a rollback, which this object guarantees when the
// error leaves the scope as an exception.
class Transaction
{
public:
    explicit Transaction(const QString &connectionName);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit(); // throws DbError when the server refuses

private:
    QString m_connectionName;
    bool m_outer = false;
    bool m_done = false;
};

} // namespace kordel
