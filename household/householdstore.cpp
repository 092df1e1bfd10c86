#include "household/householdstore.h"

#include "core/datamodule.h"
#include "core/vocabulary.h"
#include "db/command.h"
#include "db/transaction.h"

#include <QList>
#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

using Mode = HoursUpkeep::Mode;

// The timesheet row a household record counts in, on one day.
struct HouseholdKey
{
    int worker = 0;
    int kind = 0;
    int night = 0;
    qint64 group = 0;
    QDate date;
    auto tie() const { return std::make_tuple(worker, kind, night, group, date.toJulianDay()); }
    bool operator==(const HouseholdKey &other) const { return tie() == other.tie(); }
};

HouseholdKey keyOf(const HouseholdRecord &record, const QDate &date)
{
    return {record.worker, record.kind, record.night ? 1 : 0, record.group, date};
}

// The key of the record read by `row` (a statement returning id_p, id_o,
// i_night, id_nom and d_date); nothing when the record is gone.
std::optional<HouseholdKey> readKey(Dataset &row)
{
    row.open();
    if (row.isEmpty())
        return std::nullopt;
    return HouseholdKey{row.value(u"id_p"_s).toInt(), row.value(u"id_o"_s).toInt(),
                        row.intValue(u"i_night"_s), row.value(u"id_nom"_s).toLongLong(),
                        row.value(u"d_date"_s).toDate()};
}

struct Upkeep
{
    HouseholdKey key;
    Mode mode;
};

// In a fixed order, so that two clients moving records the opposite ways
// between the same two keys never each hold the lock the other waits for.
void keepHours(HoursUpkeep &upkeep, QList<Upkeep> days)
{
    std::sort(days.begin(), days.end(),
              [](const Upkeep &a, const Upkeep &b) { return a.key.tie() < b.key.tie(); });
    for (const Upkeep &day : days)
        upkeep.householdHours(day.key.worker, day.key.kind, day.key.night, day.key.group, day.key.date,
                              day.mode);
}

Params recordParams(const HouseholdRecord &record)
{
    return {
        {u"nom"_s, record.group},
        {u"o"_s, record.kind},
        {u"p"_s, record.worker},
        {u"cnt"_s, record.hours},
        {u"price"_s, record.price.rounded(4).toString()},
        {u"hol"_s, record.dayOff ? 1 : 0},
        {u"night"_s, record.night ? 1 : 0},
    };
}

} // namespace

HouseholdStore::HouseholdStore(DataModule &dataModule)
    : m_data(dataModule), m_upkeep(dataModule), m_list(dataModule.connectionName(), u"fatigue"_s, listSql()),
      m_kinds(dataModule.connectionName(), u"type_work"_s, kindListSql())
{
    m_kinds.setParam(u"cnt"_s, 0);
}

QString HouseholdStore::listSql()
{
    return u"select distinct vo.vid, p.fio, i.s_caption, (f.cnt*f.price) as summ,  f.*, case when "
           u"f.i_holiday=0 "
           "then '' else '+' end as s_holiday, case when f.i_night=0 then '' else '+' end as s_night\n"
           "from accounts_dep.fatigue f, cmn_classifier.item i, accounts_dep.person p,accounts_dep.vid_oper "
           "vo, "
           "accounts_dep.oper o\n"
           "where f.id_nom =i.id and p.id=f.id_p and vo.id = f.id_o and (o.i_id >=7777) and f.d_date = "
           ":d_date::date\n"
           "order by p.fio, f.id"_s;
}

QString HouseholdStore::kindListSql()
{
    // Ordered so that "the first row of a kind" is the same on every opening.
    return u"select vo.id, vo.vid, n.price, (n.price*:cnt::numeric) as summ from accounts_dep.vid_oper vo,"
           "accounts_dep.norm n, accounts_dep.oper o\n"
           "where n.o_id =o.id and o.vid=vo.id and (vo.id = 7777 or vo.id=7782 or vo.id=7783 or vo.id = "
           "7778)\n"
           "order by vo.id, n.id"_s;
}

void HouseholdStore::openList(const QDate &date)
{
    m_list.close();
    m_list.setParam(u"d_date"_s, date);
    m_list.open();
}

void HouseholdStore::openKinds()
{
    m_kinds.close();
    m_kinds.open();
}

Decimal HouseholdStore::finalPrice(const Decimal &normPrice, bool dayOff, bool night)
{
    Decimal price = normPrice;
    if (dayOff)
        price = price * Decimal::fromInt(2);
    if (night)
        price = price * *Decimal::parse(u"1.2");
    return price.rounded(4);
}

int HouseholdStore::insert(const HouseholdRecord &record)
{
    Transaction transaction(m_data.connectionName());
    Params params = recordParams(record);
    params.insert(u"d"_s, record.date);
    params.insert(u"m"_s, record.date.month());
    params.insert(u"y"_s, record.date.year());
    params.insert(u"s"_s, record.shift);
    const int id =
        m_data.sqlExec()
            .runReturning(
                u"INSERT INTO accounts_dep.fatigue(id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, "
                "cnt, price, i_holiday, i_night)VALUES(:nom, :o, :p, :d::date, :m, :y, :s, :cnt, "
                ":price::numeric, :hol, :night) returning id"_s,
                params)
            .toInt();
    keepHours(m_upkeep, {{keyOf(record, record.date), Mode::Upsert}});
    transaction.commit();
    return id;
}

void HouseholdStore::change(int recordId, const HouseholdRecord &record)
{
    Transaction transaction(m_data.connectionName());
    Dataset before(
        m_data.connectionName(), u"changedRecord"_s,
        u"select id_p, id_o, i_night, id_nom, d_date from accounts_dep.fatigue where id=:id for update"_s);
    before.setParam(u"id"_s, recordId);
    const std::optional<HouseholdKey> old = readKey(before);
    if (!old) { // deleted meanwhile by another workstation: nothing to change
        transaction.commit();
        return;
    }

    Params params = recordParams(record);
    params.insert(u"id"_s, recordId);
    m_data.sqlExec().run(u"UPDATE accounts_dep.fatigue SET id_nom=:nom, id_o=:o, id_p=:p, cnt=:cnt, "
                         "price=:price::numeric, i_holiday=:hol, i_night=:night where id=:id"_s,
                         params);

    // The record keeps its day; the key it left would otherwise keep hours
    // no record has any more.
    QList<Upkeep> days{{keyOf(record, old->date), Mode::Upsert}};
    if (!(*old == days.first().key))
        days.append({*old, Mode::UpdateOnly});
    keepHours(m_upkeep, days);
    transaction.commit();
}

void HouseholdStore::remove(int recordId)
{
    Transaction transaction(m_data.connectionName());
    Dataset row(
        m_data.connectionName(), u"deletedRecord"_s,
        u"delete from accounts_dep.fatigue where id=:id returning id_p, id_o, i_night, id_nom, d_date"_s);
    row.setParam(u"id"_s, recordId);
    if (const std::optional<HouseholdKey> key = readKey(row))
        keepHours(m_upkeep, {{*key, Mode::UpdateOnly}});
    transaction.commit();
}

int HouseholdStore::computeAveragePiecework(int month, int year)
{
    const QDate first(year, month, 1);
    // The month's journal is summed once per worker and joined to the
    // records; products play no part.  A record's factors multiply the
    // worker's whole sum, which in exact numerics is the sum of the factored
    // rows: the same price as summing per record, to the last digit.
    Transaction transaction(m_data.connectionName());
    const int priced = m_data.sqlExec().run(
        u"with m as (select s.w_id, sum((s.kol_vo-s.brak)*s.cena) as money, sum(s.time) as hours "
        "from accounts_dep.smena s join accounts_dep.person p on p.id=s.w_id "
        "where s.data<=:last::date and s.data>=:first::date group by s.w_id) "
        "update accounts_dep.fatigue f set price=coalesce(case when coalesce(m.hours,0)::numeric(10,2)=0 "
        "then 0 "
        "else (m.money*(1+f.i_night*0.2)*(case when f.i_holiday = 0 then 1 else 2 "
        "end)/m.hours)::numeric(10,2) "
        "end,0) from accounts_dep.fatigue r left join m on m.w_id=r.id_p::bigint "
        "where r.id=f.id and f.i_mnth = :m and f.i_year = :y and f.id_o = :kind"_s,
        {{u"first"_s, first},
         {u"last"_s, QDate(year, month, first.daysInMonth())},
         {u"m"_s, month},
         {u"y"_s, year},
         {u"kind"_s, vocabulary::AveragePiecework}});
    transaction.commit();
    return priced;
}

} // namespace kordel
