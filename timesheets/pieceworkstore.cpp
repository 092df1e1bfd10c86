#include "timesheets/pieceworkstore.h"

#include "core/datamodule.h"
#include "db/command.h"
#include "db/dberror.h"
#include "db/transaction.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

int slot(PieceworkMode mode)
{
    switch (mode) {
    case PieceworkMode::Piecework:
        return 0;
    case PieceworkMode::General:
        return 1;
    case PieceworkMode::Household:
        return 2;
    case PieceworkMode::Average:
        return 3;
    }
    return 0;
}

QString sheetName(PieceworkMode mode)
{
    switch (mode) {
    case PieceworkMode::Piecework:
        return u"H_Tabel0"_s;
    case PieceworkMode::General:
        return u"H_Tabel_all"_s;
    case PieceworkMode::Household:
        return u"H_Tabel7777"_s;
    case PieceworkMode::Average:
        return u"H_Tabel7778"_s;
    }
    return {};
}

// The 31 day sums of the grouped hours rows, one a line.
QString daySums()
{
    QStringList items;
    for (int day = 1; day <= 31; ++day)
        items << u"\tsum(h. d%1)\tas\td%1"_s.arg(day);
    return items.join(u",\n"_s) + u'\n';
}

// The day cells d1..dN, for N the days of the month.
QString dayColumns(int days, const QString &prefix = {})
{
    QStringList columns;
    for (int day = 1; day <= days; ++day)
        columns << prefix + u"d"_s + QString::number(day);
    return columns.join(u", "_s);
}

// Pivots rows of (key..., day, hours) into the day cells d1..dN.
QString dayPivot(int days)
{
    QStringList cells;
    for (int day = 1; day <= days; ++day)
        cells << u"sum(hours) filter (where day = %1) as d%1"_s.arg(day);
    return cells.join(u", "_s);
}

const QString household7777 = u"(f.id_o=7777 or f.id_o=7782 or f.id_o=7783)"_s;

// The month's journal hours, earnings and hourly rate of each worker.
const QString journalMonth =
    u"select s.w_id, sum(s.time) as i_time, sum((s.kol_vo-s.brak)*s.cena)::numeric(10,2) as f_price,\n"
    "case when coalesce(sum(s.time),0)::numeric(10,2)=0 then 0 else "
    "coalesce(sum((s.kol_vo-s.brak)*s.cena)/sum(s.time),0)::numeric(10,2) end as average_price\n"
    "from accounts_dep.smena s where s.data<:d_date1 and s.data>=:d_date2 group by s.w_id"_s;

// Each figure is summed once per worker over the month and joined to his
// hours rows; correlated subqueries per row read the month again for every
// worker.  A worker without records has no hours or earnings and a rate of 0.
QString householdSheetSql(const QString &kinds, const QString &rowKinds)
{
    return u"with f as (select f.id_p, f.i_night, sum(f.cnt) as i_time, sum(f.cnt*f.price)::numeric(10,2) as "
           "f_price,\n"
           "case when coalesce(sum(f.cnt),0)::numeric(10,2)=0 then 0 else "
           "coalesce(sum((f.cnt*f.price))/sum(f.cnt),0)::numeric(10,2) end as average_price\n"
           "from accounts_dep.fatigue f where f.d_date<:d_date1 and f.d_date>=:d_date2 and "_s +
           kinds +
           u" group by f.id_p, f.i_night)\n"
           "select p.s_caption fio, p.id,h.i_type, case when h.i_night=0 then 'дн.' else 'ноч.' end as "
           "s_night, "
           "h.i_night,\n"
           "f.i_time, f.f_price, coalesce(f.average_price, 0) as average_price,\n"_s +
           daySums() +
           u"from  cmn_contractor.person p join accounts_dep.h_tabel h on h.w_id=p.id\n"
           "left join f on f.id_p=p.id and f.i_night=h.i_night\n"
           "where h.year=:i_year and h.month=:i_month and "_s +
           rowKinds +
           u"\ngroup by p.id, p.s_caption, h.i_type, h.i_night, f.i_time, f.f_price, f.average_price\n"
           "order by fio"_s;
}

std::optional<Decimal> totalOf(const QString &connection, const QString &statement, const MonthPeriod &period,
                               bool twoPairs)
{
    Params params{{u"d_date1"_s, period.next}, {u"d_date2"_s, period.first}};
    if (twoPairs) {
        params.insert(u"d_date3"_s, period.next);
        params.insert(u"d_date4"_s, period.first);
    }
    const QVariant value = sql::scalar(connection, statement, params);
    if (value.isNull())
        return std::nullopt;
    return Decimal::fromVariant(value);
}

} // namespace

PieceworkStore::PieceworkStore(DataModule &dataModule) : m_data(dataModule)
{
    for (PieceworkMode mode :
         {PieceworkMode::Piecework, PieceworkMode::General, PieceworkMode::Household, PieceworkMode::Average})
        m_sheets[slot(mode)] =
            std::make_unique<Dataset>(m_data.connectionName(), sheetName(mode), sheetSql(mode));
}

PieceworkStore::~PieceworkStore() = default;

Dataset &PieceworkStore::sheet(PieceworkMode mode) const
{
    return *m_sheets[slot(mode)];
}

QString PieceworkStore::sheetSql(PieceworkMode mode)
{
    switch (mode) {
    case PieceworkMode::Piecework:
        return u"with s as ("_s + journalMonth +
               u")\n"
               "select p.s_caption fio, p.id,h.i_type, s.i_time, s.f_price, "
               "coalesce(s.average_price, 0) as average_price,\n"_s +
               daySums() +
               u"from  cmn_contractor.person p join accounts_dep.h_tabel h on h.w_id=p.id\n"
               "left join s on s.w_id=p.id\n"
               "where h.year=:i_year and h.month=:i_month and i_type=0\n"
               "group by p.id, p.s_caption, h.i_type, s.i_time, s.f_price, s.average_price\n"
               "order by fio"_s;
    case PieceworkMode::General:
        return u"with s as ("_s + journalMonth +
               u"),\n"
               "f as (select f.id_p, sum(f.cnt) as i_time, sum(f.cnt*f.price)::numeric(10,2) as f_price "
               "from accounts_dep.fatigue f where f.d_date<:d_date1 and f.d_date>=:d_date2 group by f.id_p)\n"
               "select p.s_caption fio, p.id,\n"
               "coalesce(s.i_time,0)+coalesce(f.i_time,0) i_time,\n"
               "coalesce(s.f_price,0)+coalesce(f.f_price,0) f_price,\n"_s +
               daySums() +
               u"from  cmn_contractor.person p join accounts_dep.h_tabel h on h.w_id=p.id\n"
               "left join s on s.w_id=p.id left join f on f.id_p=p.id\n"
               "where h.year=:i_year and h.month=:i_month\n"
               "group by p.id, p.s_caption, s.i_time, s.f_price, f.i_time, f.f_price\n"
               "order by fio"_s;
    case PieceworkMode::Household:
        return householdSheetSql(household7777, u"( i_type=7777 or i_type=7782 or i_type=7783)"_s);
    case PieceworkMode::Average:
        return householdSheetSql(u"f.id_o=7778"_s, u"i_type=7778"_s);
    }
    return {};
}

void PieceworkStore::openSheet(PieceworkMode mode, const MonthPeriod &period) const
{
    Dataset &data = sheet(mode);
    data.close();
    data.setParam(u"i_month"_s, period.month);
    data.setParam(u"i_year"_s, period.year);
    const int pairs = mode == PieceworkMode::General ? 4 : 3;
    for (int pair = 1; pair <= pairs; ++pair) {
        data.setParam(u"d_date"_s + QString::number(2 * pair - 1), period.next);
        data.setParam(u"d_date"_s + QString::number(2 * pair), period.first);
    }
    data.open();
}

PieceworkStore::Totals PieceworkStore::totals(const MonthPeriod &period) const
{
    const QString connection = m_data.connectionName();
    Totals totals;
    totals.average =
        totalOf(connection,
                u"select sum(f.cnt*f.price)::numeric(100,2) as price from accounts_dep.fatigue f "
                "where f.d_date<:d_date1 and f.d_date>=:d_date2 and f.cnt>0 and f.price>0 and "
                "f.id_o=7778"_s,
                period, false);
    totals.household =
        totalOf(connection,
                u"select sum(f.cnt*f.price)::numeric(100,2) as price from accounts_dep.fatigue f "
                "where f.d_date<:d_date1 and f.d_date>=:d_date2 and f.cnt>0 and f.price>0 and "
                "(f.id_o=7777 or f.id_o=7782 or f.id_o=7783)"_s,
                period, false);
    totals.piecework =
        totalOf(connection,
                u"select sum((s.kol_vo-s.brak)*s.cena)::numeric(100,2) as price from "
                "accounts_dep.smena s where s.data<:d_date1 and s.data>=:d_date2 and s.cena>0 and "
                "s.kol_vo>0"_s,
                period, false);
    // A month without journal or without household records still has the
    // other part's earnings in its total.
    totals.all =
        totalOf(connection,
                u"select(\n"
                "(coalesce((select sum((s.kol_vo-s.brak)*s.cena) from accounts_dep.smena s where "
                "s.data<:d_date1 and s.data>=:d_date2 and s.cena>0 and s.kol_vo>0),0)+\n"
                "coalesce((select sum(f.cnt*f.price) from accounts_dep.fatigue f where f.d_date<:d_date3 "
                "and f.d_date>=:d_date4 and f.cnt>0 and f.price>0),0))::numeric(20,2)) price"_s,
                period, true);
    return totals;
}

PieceworkStore::RebuildOutcome PieceworkStore::rebuild(const MonthPeriod &period) const
{
    if (period.year <= 0 || !period.first.isValid())
        return {false, u"Не выбран год: табель не перестроен. Выберите год в списке."_s};

    const QString connection = m_data.connectionName();
    const int days = period.days();
    const Params month{{u"m"_s, period.month}, {u"y"_s, period.year}};
    const Params range{{u"f"_s, period.first}, {u"n"_s, period.next}};

    const QStringList statements = rebuildStatements(days);
    Transaction transaction(connection);
    // Holds the month against the hours upkeep of other clients.
    sql::exec(connection, statements.first(), {{u"k"_s, monthLockKey(period)}});

    // A household row is keyed by its group and night flag; a record without
    // them has no row to go to.
    Dataset broken(connection, u"broken"_s,
                   u"select f.id_p, trim(w.fio) as fio, f.d_date from accounts_dep.fatigue f "
                   "left join accounts_dep.person w on w.id = f.id_p "
                   "where f.d_date >= :f and f.d_date < :n and (f.id_nom is null or f.i_night is null) "
                   "order by f.d_date, f.id limit 1"_s);
    broken.setParam(u"f"_s, period.first);
    broken.setParam(u"n"_s, period.next);
    broken.open();
    if (!broken.isEmpty()) {
        const QString who =
            broken.text(u"fio"_s).isEmpty() ? u"№ "_s + broken.text(u"id_p"_s) : broken.text(u"fio"_s);
        return {false, u"Запись хоз. работ работника %1 за %2 без номенклатурной группы или признака ночи: "
                       "табель не перестроен. Исправьте запись."_s.arg(
                           who, broken.value(u"d_date"_s).toDate().toString(u"dd.MM.yyyy"_s))};
    }

    Params all = month;
    all.insert(range);
    for (qsizetype i = 1; i < statements.size(); ++i)
        sql::exec(connection, statements[i], all);
    transaction.commit();
    return {true, {}};
}

QStringList PieceworkStore::rebuildStatements(int days)
{
    QStringList sets;
    for (int day = 1; day <= days; ++day)
        sets << u"d%1 = j.d%1"_s.arg(day);
    return {
        u"select pg_advisory_xact_lock(:k::bigint)"_s,
        u"delete from accounts_dep.h_tabel where smena=0 and month=:m and year=:y"_s,
        // One row per worker, kind, night flag and group of the month's
        // household records, each day the sum of that day's hours.
        u"insert into accounts_dep.h_tabel(i_type, w_id, i_night, id_nom, month, year, "_s +
            dayColumns(days) +
            u")\n"
            "select id_o, id_p, i_night, id_nom, :m, :y, "_s +
            dayPivot(days) +
            u"\nfrom (select f.id_p, f.id_o, f.i_night, f.id_nom, f.d_date - :f::date + 1 as day, "
            "sum(f.cnt) as hours from accounts_dep.fatigue f "
            "where f.d_date >= :f and f.d_date < :n group by 1, 2, 3, 4, 5) d\n"
            "group by id_p, id_o, i_night, id_nom"_s,
        // Every day of every shift row of the month takes the journal's
        // hours, empty when the worker has none that day.
        u"update accounts_dep.h_tabel h set "_s + sets.join(u", "_s) +
            u"\nfrom accounts_dep.h_tabel t left join (\n"
            "select w_id, smena, "_s +
            dayPivot(days) +
            u" from (select s.w_id, s.smena, s.data - :f::date + 1 as day, sum(s.time) as hours "
            "from accounts_dep.smena s join accounts_dep.person p on p.id = s.w_id "
            "where s.data >= :f and s.data < :n group by 1, 2, 3) d group by w_id, smena\n"
            ") j on j.w_id = t.w_id and j.smena = t.smena\n"
            "where h.id = t.id and t.i_type=0 and t.i_night=0 and t.id_nom=0 "
            "and t.month=:m and t.year=:y"_s,
    };
}

} // namespace kordel
