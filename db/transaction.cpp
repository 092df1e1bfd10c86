#include "db/transaction.h"

#include "db/dberror.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

struct State
{
    int depth = 0;
    bool failed = false; // an inner scope ended without commit
};

QHash<QString, State> &states()
{
    thread_local QHash<QString, State> map; // connections are used by one thread each
    return map;
}

} // namespace

Transaction::Transaction(const QString &connectionName) : m_connectionName(connectionName)
{
    State &state = states()[connectionName];
    if (state.depth == 0) {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (!db.transaction())
            throw DbError::fromSql(db.lastError(), u"begin"_s);
        m_outer = true;
        state.failed = false;
    }
    ++state.depth;
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    State &state = states()[m_connectionName];
    --state.depth;
    if (m_outer) {
        QSqlDatabase::database(m_connectionName, false).rollback();
        state.failed = false;
    } else {
        state.failed = true;
    }
}

void Transaction::commit()
{
    Q_ASSERT(!m_done);
    m_done = true;
    State &state = states()[m_connectionName];
    --state.depth;
    if (!m_outer)
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (state.failed) {
        state.failed = false;
        db.rollback();
        throw DbError(u"Изменения отменены: часть действия не выполнена."_s);
    }
    if (!db.commit()) {
        const DbError error = DbError::fromSql(db.lastError(), u"commit"_s);
        db.rollback();
        throw error;
    }
}

} // namespace kordel
