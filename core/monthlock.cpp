#include "core/monthlock.h"

#include "db/command.h"

using namespace Qt::StringLiterals;

namespace kordel {
// One 64-bit key per month, well away from small numbers other software may
// lock; the per-row locks of the upkeep use the two-key form and never meet it.
qint64 monthLockKey(int month, int year)
{
    constexpr qint64 base = 0x4b64'7462'0000'0000LL;
    return base + qint64(year) * 100 + month;
}

void shareMonth(const QString &connectionName, int month, int year)
{
    sql::exec(connectionName, u"select pg_advisory_xact_lock_shared(:k::bigint)"_s,
              {{u"k"_s, monthLockKey(month, year)}});
}

void holdMonth(const QString &connectionName, int month, int year)
{
    sql::exec(connectionName, u"select pg_advisory_xact_lock(:k::bigint)"_s,
              {{u"k"_s, monthLockKey(month, year)}});
}

} // namespace kordel
