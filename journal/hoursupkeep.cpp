#include "journal/hoursupkeep.h"

#include "core/datamodule.h"
#include "core/monthlock.h"
#include "db/command.h"
#include "db/transaction.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <set>
#include <utility>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

// Two clients saving the first hours of the same worker and month at once
// would both find no row and both insert one, and the month would count the
// hours twice.  The count, the sum and the write therefore run under a
// transaction-scoped advisory lock on the row's key, so the second client
// waits and then finds the first one's row.  A unique index would do the same
// job but would refuse the duplicate rows other software of the database may
// already hold; the lock asks nothing of the schema.
//
// The lock takes two int keys: the worker, and a stable hash of the rest of
// the key (FNV-1a, the same in every client).  Two keys meeting on one hash
// only wait for each other.
class KeyHash
{
public:
    KeyHash &add(qint64 value)
    {
        for (int i = 0; i < 8; ++i) {
            m_hash ^= quint32((quint64(value) >> (8 * i)) & 0xffu);
            m_hash *= 16777619u;
        }
        return *this;
    }
    qint32 value() const { return qint32(m_hash); }

private:
    quint32 m_hash = 2166136261u;
};

enum Variant : qint64 { ShiftRow = 1, HouseholdRow = 2 };

void lockKey(const QString &connectionName, int worker, const KeyHash &rest)
{
    sql::exec(connectionName, u"select pg_advisory_xact_lock(:k1::int, :k2::int)"_s,
              {{u"k1"_s, worker}, {u"k2"_s, rest.value()}});
}

// The sum is read as an integer; no detail row means no hours.
int hoursOf(const QString &connectionName, const QString &statement, const Params &params)
{
    return sql::scalar(connectionName, statement, params).toInt();
}

} // namespace

HoursUpkeep::HoursUpkeep(DataModule &dataModule) : m_data(dataModule) {}

QString HoursUpkeep::dayColumn(int day)
{
    static const std::array<QString, 31> columns = [] {
        std::array<QString, 31> names;
        for (int d = 1; d <= 31; ++d)
            names[d - 1] = u"d"_s + QString::number(d);
        return names;
    }();
    Q_ASSERT(day >= 1 && day <= 31);
    return columns.at(std::size_t(day - 1));
}

void HoursUpkeep::shiftHours(int worker, int shift, const QDate &date, Mode mode)
{
    const QString connection = m_data.connectionName();
    const Params key{{u"w"_s, worker}, {u"s"_s, shift}, {u"m"_s, date.month()}, {u"y"_s, date.year()}};
    const QString column = dayColumn(date.day());

    Transaction transaction(connection);
    shareMonth(connection, date.month(), date.year()); // a month rebuild waits for us, and we for it
    lockKey(connection, worker, KeyHash().add(ShiftRow).add(shift).add(date.month()).add(date.year()));

    bool exists = true;
    if (mode == Mode::Upsert) {
        exists = sql::scalar(connection,
                             u"select count(w_id) as cnt from accounts_dep.h_tabel "
                             "where w_id=:w and smena=:s and month=:m and year=:y"_s,
                             key)
                     .toInt() > 0;
    }
    const int hours = hoursOf(connection,
                              u"select sum(time) as tim from accounts_dep.smena "
                              "where w_id=:w and smena=:s and data=:d::date group by w_id, smena, data"_s,
                              {{u"w"_s, worker}, {u"s"_s, shift}, {u"d"_s, date}});

    Params write = key;
    write.insert(u"h"_s, hours);
    if (exists) {
        m_data.hoursCommand().run(u"update accounts_dep.h_tabel set "_s + column +
                                      u"=:h where w_id=:w and smena=:s and month=:m and year=:y"_s,
                                  write);
    } else {
        m_data.hoursCommand().run(u"insert into accounts_dep.h_tabel(smena, w_id, month, year, "_s + column +
                                      u") values(:s, :w, :m, :y, :h)"_s,
                                  write);
    }
    transaction.commit();
}

void HoursUpkeep::shiftDaysUpdateOnly(const QList<ShiftDay> &days)
{
    if (days.isEmpty())
        return;
    const QString connection = m_data.connectionName();
    // Locks in a fixed order, so two clients never wait for each other.
    std::set<std::pair<int, qint32>> keys;
    QStringList workers, shifts, dates;
    for (const ShiftDay &day : days) {
        keys.insert(
            {day.worker,
             KeyHash().add(ShiftRow).add(day.shift).add(day.date.month()).add(day.date.year()).value()});
        workers << QString::number(day.worker);
        shifts << QString::number(day.shift);
        dates << day.date.toString(Qt::ISODate);
    }
    QStringList lockWorkers, lockHashes;
    for (const auto &[worker, hash] : keys) {
        lockWorkers << QString::number(worker);
        lockHashes << QString::number(hash);
    }
    const auto array = [](const QStringList &items) { return QString(u'{' + items.join(u',') + u'}'); };

    QStringList dayHours, assignments;
    for (int d = 1; d <= 31; ++d) {
        const QString column = dayColumn(d);
        dayHours << u"max(hours) filter (where extract(day from data) = "_s + QString::number(d) +
                        u") as "_s + column;
        assignments << column + u" = coalesce(r."_s + column + u", h_tabel."_s + column + u')';
    }

    Transaction transaction(connection);
    sql::exec(connection,
              u"select count(*) from (select pg_advisory_xact_lock(k1, k2) from "
              "(select * from unnest(:k1::int[], :k2::int[]) as k(k1, k2) order by k1, k2) k) l"_s,
              {{u"k1"_s, array(lockWorkers)}, {u"k2"_s, array(lockHashes)}});
    m_data.hoursCommand().run(
        u"with t as (select distinct w_id, smena, data from unnest(:w::int[], :s::int[], :d::date[]) "
        "as t(w_id, smena, data)),\n"
        "h as (select t.w_id, t.smena, t.data, coalesce((select sum(x.time) from accounts_dep.smena x "
        "where x.w_id=t.w_id and x.smena=t.smena and x.data=t.data), 0)::int as hours from t),\n"
        "r as (select w_id, smena, extract(month from data)::int as m, extract(year from data)::int as y, "_s +
            dayHours.join(u", "_s) +
            u" from h group by 1, 2, 3, 4)\n"
            "update accounts_dep.h_tabel set "_s +
            assignments.join(u", "_s) +
            u" from r where h_tabel.w_id=r.w_id and h_tabel.smena=r.smena and h_tabel.month=r.m "
            "and h_tabel.year=r.y"_s,
        {{u"w"_s, array(workers)}, {u"s"_s, array(shifts)}, {u"d"_s, array(dates)}});
    transaction.commit();
}

void HoursUpkeep::householdHours(int worker, int kind, int night, qint64 group, const QDate &date, Mode mode)
{
    const QString connection = m_data.connectionName();
    const Params key{{u"w"_s, worker}, {u"t"_s, kind},         {u"n"_s, night},
                     {u"g"_s, group},  {u"m"_s, date.month()}, {u"y"_s, date.year()}};
    const QString column = dayColumn(date.day());

    Transaction transaction(connection);
    shareMonth(connection, date.month(), date.year());
    lockKey(connection, worker,
            KeyHash().add(HouseholdRow).add(kind).add(night).add(group).add(date.month()).add(date.year()));

    bool exists = true;
    if (mode == Mode::Upsert) {
        exists =
            sql::scalar(connection,
                        u"select count(w_id) as cnt from accounts_dep.h_tabel where w_id=:w and i_type=:t "
                        "and month=:m and year=:y and id_nom=:g and i_night=:n"_s,
                        key)
                .toInt() > 0;
    }
    const int hours =
        hoursOf(connection,
                u"select sum(f.cnt) as tim from accounts_dep.fatigue f where f.id_p=:w and f.id_o=:t "
                "and i_night=:n and id_nom=:g and f.d_date=:d::date group by f.id_p, f.d_date"_s,
                {{u"w"_s, worker}, {u"t"_s, kind}, {u"n"_s, night}, {u"g"_s, group}, {u"d"_s, date}});

    Params write = key;
    write.insert(u"h"_s, hours);
    if (exists) {
        m_data.hoursCommand().run(u"update accounts_dep.h_tabel set "_s + column +
                                      u"=:h where w_id=:w and i_type=:t and month=:m and year=:y "
                                      "and i_night=:n and id_nom=:g"_s,
                                  write);
    } else {
        m_data.hoursCommand().run(u"insert into accounts_dep.h_tabel(i_type, w_id, month, year, "_s + column +
                                      u", i_night, id_nom) values(:t, :w, :m, :y, :h, :n, :g)"_s,
                                  write);
    }
    transaction.commit();
}

} // namespace kordel
