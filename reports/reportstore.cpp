#include "reports/reportstore.h"

#include "db/dberror.h"
#include "db/sqlparams.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace kordel::reports {

namespace {

// Household kinds: works paid by the hour, and average piecework.
constexpr auto householdKinds = "(7777, 7782, 7783)";

// Runs a read-only statement with the period bound and hands every row on.
template <typename Row>
void forEachRow(const QString &connection, const QString &statement, const Period &period, Row &&row)
{
    // The session runs without JIT compilation (set by the data module).
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        throw DbError::fromSql(query.lastError(), statement);
    sql::bind(query, statement, {{u"pfrom"_s, period.from}, {u"pto"_s, period.to}});
    if (!query.exec())
        throw DbError::fromSql(query.lastError(), statement);
    while (query.next())
        row(query);
    if (query.lastError().isValid())
        throw DbError::fromSql(query.lastError(), statement);
}

Decimal dec(const QSqlQuery &query, int column)
{
    return Decimal::fromVariant(query.value(column));
}

// The worker's household money and hours of the period by kind and night
// flag, read once for all workers instead of once per report row.
QString householdByWorker()
{
    const QString kinds = QString::fromLatin1(householdKinds);
    auto money = [](const QString &where) -> QString {
        return u"coalesce(sum(f.cnt * f.price) filter (where "_s + where + u"), 0)::numeric(10,2)"_s;
    };
    auto hours = [](const QString &where) -> QString {
        return u"coalesce(sum(f.cnt) filter (where "_s + where + u"), 0)::numeric(10,2)"_s;
    };
    const QString h = u"f.id_o in "_s + kinds, a = u"f.id_o = 7778"_s;
    return u"select f.id_p, "_s + money(h + u" and f.i_night = 0"_s) + u" f_sum7, "_s +
           money(h + u" and f.i_night = 1"_s) + u" f_sum7_n, "_s + money(a + u" and f.i_night = 0"_s) +
           u" f_sum8, "_s + money(a + u" and f.i_night = 1"_s) + u" f_sum8_n, "_s +
           hours(h + u" and f.i_night = 0"_s) + u" f_sum7h, "_s + hours(h + u" and f.i_night = 1"_s) +
           u" f_sum7h_n, "_s + hours(a + u" and f.i_night = 0"_s) + u" f_sum8h, "_s +
           hours(a + u" and f.i_night = 1"_s) +
           u" f_sum8h_n "
           u"from accounts_dep.fatigue f where f.d_date >= :pfrom::date and f.d_date < :pto::date "
           u"group by f.id_p"_s;
}

} // namespace

Period Period::previousMonth(const QDate &today)
{
    const QDate first(today.year(), today.month(), 1);
    return Period{first.addMonths(-1), first};
}

bool kindAccepts(ProductKind kind, int naimen)
{
    switch (kind) {
    case ProductKind::All:
        return true;
    case ProductKind::Finished:
        return naimen == 0;
    case ProductKind::Blanks:
        return naimen == 1;
    }
    return true;
}

QString kindText(int naimen)
{
    return naimen == 0 ? u"Готовая продукция"_s : u"Заготовки"_s;
}

QList<WorkerDetailRow> ReportStore::workerDetail(const Period &period, ProductKind kind) const
{
    // A journal worker is the person whose code, read as a number, is the
    // worker's id.  Namesakes stay apart: the worker's id is part of the
    // order and of the groups.  A month of a thousand workers has tens of
    // thousands of rows: they travel as one text per worker, not a round of
    // the driver per value.
    const QString statement =
        u"with f as ("_s + householdByWorker() +
        u"), "
        u"r as (select smena.w_id, izdel.marka, vid_oper.vid, oper.naimen, smena.color, "
        u"sum(smena.time) sum_time, sum(smena.kol_vo)::numeric(10,2) kolvo, sum(smena.brak) brk, "
        u"sum((smena.kol_vo - smena.brak) * smena.cena)::numeric(10,2) summa "
        u"from accounts_dep.smena "
        u"join accounts_dep.izdel on smena.i_id = izdel.id "
        u"join accounts_dep.oper on smena.o_id = oper.id "
        u"join accounts_dep.vid_oper on oper.vid = vid_oper.id "
        u"where smena.data >= :pfrom::date and smena.data < :pto::date "
        u"group by smena.w_id, izdel.marka, vid_oper.vid, oper.naimen, smena.color) "
        u"select r.w_id, person.s_caption fio, "
        u"coalesce(f.f_sum7, 0), coalesce(f.f_sum7_n, 0), coalesce(f.f_sum8, 0), coalesce(f.f_sum8_n, 0), "
        u"coalesce(f.f_sum7h, 0), coalesce(f.f_sum7h_n, 0), coalesce(f.f_sum8h, 0), coalesce(f.f_sum8h_n, "
        u"0), "
        u"json_agg(json_build_array(r.marka, r.vid, r.naimen, r.color, r.sum_time::text, r.kolvo::text, "
        u"r.brk::text, r.summa::text) order by r.marka, r.vid, r.naimen, r.color)::text "
        u"from r join cmn_contractor.person person on r.w_id = person.s_code::integer "
        u"left join f on f.id_p = r.w_id "
        u"group by person.s_caption, r.w_id, f.f_sum7, f.f_sum7_n, f.f_sum8, f.f_sum8_n, f.f_sum7h, "
        u"f.f_sum7h_n, f.f_sum8h, f.f_sum8h_n "
        u"order by fio, r.w_id"_s;
    QList<WorkerDetailRow> rows;
    forEachRow(m_connection, statement, period, [&](const QSqlQuery &q) {
        WorkerDetailRow worker;
        worker.workerId = q.value(0).toInt();
        worker.fio = q.value(1).toString();
        worker.household = dec(q, 2);
        worker.householdNight = dec(q, 3);
        worker.average = dec(q, 4);
        worker.averageNight = dec(q, 5);
        worker.householdHours = dec(q, 6);
        worker.householdNightHours = dec(q, 7);
        worker.averageHours = dec(q, 8);
        worker.averageNightHours = dec(q, 9);
        QJsonParseError error;
        const QJsonArray lines = QJsonDocument::fromJson(q.value(10).toString().toUtf8(), &error).array();
        if (error.error != QJsonParseError::NoError)
            throw DbError(u"Неверный ответ сервера: "_s + error.errorString());
        auto decimal = [](const QJsonValue &value) {
            return Decimal::parse(value.toString()).value_or(Decimal());
        };
        for (const QJsonValue &value : lines) {
            const QJsonArray line = value.toArray();
            const int naimen = line.at(2).toInt();
            if (!kindAccepts(kind, naimen))
                continue;
            WorkerDetailRow row = worker;
            row.marka = line.at(0).toString();
            row.vid = line.at(1).toString();
            row.naimen = naimen;
            row.color = line.at(3).toInt();
            row.hours = decimal(line.at(4));
            row.quantity = decimal(line.at(5));
            row.rejects = decimal(line.at(6));
            row.amount = decimal(line.at(7));
            rows << row;
        }
    });
    return rows;
}

QList<ProductDetailRow> ReportStore::productDetail(const Period &period, ProductKind kind) const
{
    const QString statement =
        u"select izdel.nom, izdel.marka, vid_oper.vid, oper.naimen, smena.color, "
        u"sum(smena.kol_vo)::numeric kolvo, sum(smena.brak) brk, "
        u"sum((smena.kol_vo - smena.brak) * smena.cena) summa, "
        u"round((izdel.massa * sum(smena.kol_vo))::numeric, 2) mass "
        u"from accounts_dep.smena "
        u"join accounts_dep.izdel on smena.i_id = izdel.id "
        u"join accounts_dep.oper on smena.o_id = oper.id "
        u"join accounts_dep.vid_oper on oper.vid = vid_oper.id "
        u"where smena.data >= :pfrom::date and smena.data < :pto::date "
        u"group by izdel.nom, izdel.marka, vid_oper.vid, oper.naimen, smena.color, izdel.massa "
        u"order by izdel.nom, izdel.marka, vid_oper.vid, oper.naimen, smena.color"_s;
    QList<ProductDetailRow> rows;
    forEachRow(m_connection, statement, period, [&](const QSqlQuery &q) {
        const int naimen = q.value(3).toInt();
        if (!kindAccepts(kind, naimen))
            return;
        ProductDetailRow r;
        r.nom = q.value(0).toString();
        r.marka = q.value(1).toString();
        r.vid = q.value(2).toString();
        r.naimen = naimen;
        r.color = q.value(4).toInt();
        r.quantity = dec(q, 5);
        r.rejects = dec(q, 6);
        r.amount = dec(q, 7);
        r.boxes = dec(q, 8);
        rows << r;
    });
    return rows;
}

QList<WorkerSummaryRow> ReportStore::workerSummary(const Period &period, ProductKind kind) const
{
    const QString kinds = QString::fromLatin1(householdKinds);
    const QString statement =
        u"with g as (select f.id_p, f.id_nom, "
        u"sum(f.cnt * f.price) filter (where f.id_o in "_s +
        kinds +
        u") s7, "
        u"sum(f.cnt * f.price) filter (where f.id_o = 7778) s8 "
        u"from accounts_dep.fatigue f where f.d_date >= :pfrom::date and f.d_date < :pto::date "
        u"group by f.id_p, f.id_nom), "
        u"w as (select f.id_p, sum(f.cnt * f.price) s78 from accounts_dep.fatigue f "
        u"where f.d_date >= :pfrom::date and f.d_date < :pto::date group by f.id_p) "
        u"select smena.w_id, person.s_caption fio, izdel.nom, izdel.id_nom, vid_oper.vid, oper.naimen, "
        u"smena.color, sum(smena.kol_vo - smena.brak)::numeric(10,2) kolvo, "
        u"sum((smena.kol_vo - smena.brak) * smena.cena)::numeric(10,2) summa, "
        u"coalesce(g.s7, 0)::numeric(10,2), coalesce(g.s8, 0)::numeric(10,2), coalesce(w.s78, "
        u"0)::numeric(10,2) "
        u"from accounts_dep.smena "
        u"join cmn_contractor.person person on smena.w_id = person.s_code::integer "
        u"join accounts_dep.izdel on smena.i_id = izdel.id "
        u"join accounts_dep.oper on smena.o_id = oper.id "
        u"join accounts_dep.vid_oper on oper.vid = vid_oper.id "
        u"left join g on g.id_p = smena.w_id and g.id_nom = izdel.id_nom "
        u"left join w on w.id_p = smena.w_id "
        u"where smena.data >= :pfrom::date and smena.data < :pto::date "
        u"group by person.s_caption, izdel.nom, vid_oper.vid, smena.w_id, izdel.id_nom, oper.naimen, "
        u"smena.color, g.s7, g.s8, w.s78 "
        u"order by fio, smena.w_id, izdel.nom, izdel.id_nom, vid_oper.vid, oper.naimen, smena.color"_s;
    QList<WorkerSummaryRow> rows;
    forEachRow(m_connection, statement, period, [&](const QSqlQuery &q) {
        const int naimen = q.value(5).toInt();
        if (!kindAccepts(kind, naimen))
            return;
        WorkerSummaryRow r;
        r.workerId = q.value(0).toInt();
        r.fio = q.value(1).toString();
        r.nom = q.value(2).toString();
        r.nomId = q.value(3).isNull() ? QString() : Decimal::fromVariant(q.value(3)).toString();
        r.vid = q.value(4).toString();
        r.naimen = naimen;
        r.color = q.value(6).toInt();
        r.quantity = dec(q, 7);
        r.amount = dec(q, 8);
        r.household = dec(q, 9);
        r.average = dec(q, 10);
        r.allOwn = dec(q, 11);
        rows << r;
    });
    return rows;
}

namespace {

QList<ProductSummaryRow> productRows(const QString &connection, const Period &period, ProductKind kind,
                                     bool roundBoxes)
{
    const QString boxes = roundBoxes ? u"round((izdel.massa * sum(smena.kol_vo - smena.brak))::numeric, 2)"_s
                                     : u"izdel.massa * sum(smena.kol_vo - smena.brak)"_s;
    const QString statement = u"select izdel.nom, vid_oper.vid, oper.naimen, smena.color, "
                              u"sum(smena.kol_vo - smena.brak)::numeric kolvo, "_s +
                              boxes +
                              u" mass "
                              u"from accounts_dep.smena "
                              u"join accounts_dep.izdel on izdel.id = smena.i_id "
                              u"join accounts_dep.oper on oper.id = smena.o_id "
                              u"join accounts_dep.vid_oper on vid_oper.id = oper.vid "
                              u"where smena.data >= :pfrom::date and smena.data < :pto::date "
                              u"group by izdel.nom, smena.color, oper.naimen, vid_oper.vid, izdel.massa "
                              u"order by izdel.nom, vid_oper.vid, oper.naimen, smena.color, izdel.massa"_s;
    QList<ProductSummaryRow> rows;
    forEachRow(connection, statement, period, [&](const QSqlQuery &q) {
        const int naimen = q.value(2).toInt();
        if (!kindAccepts(kind, naimen))
            return;
        ProductSummaryRow r;
        r.nom = q.value(0).toString();
        r.vid = q.value(1).toString();
        r.naimen = naimen;
        r.color = q.value(3).toInt();
        r.quantity = dec(q, 4);
        r.boxes = dec(q, 5);
        rows << r;
    });
    return rows;
}

} // namespace

QList<ProductSummaryRow> ReportStore::productSummary(const Period &period, ProductKind kind) const
{
    return productRows(m_connection, period, kind, true);
}

QList<ProductSummaryRow> ReportStore::productWorkbook(const Period &period, ProductKind kind) const
{
    return productRows(m_connection, period, kind, false);
}

HouseholdTotals ReportStore::householdTotals(const Period &period) const
{
    const QString statement =
        u"select coalesce(sum(f.cnt * f.price) filter (where f.id_o in "_s +
        QString::fromLatin1(householdKinds) +
        u"), 0)::numeric(10,2), "
        u"coalesce(sum(f.cnt * f.price) filter (where f.id_o = 7778), 0)::numeric(10,2) "
        u"from accounts_dep.fatigue f where f.d_date >= :pfrom::date and f.d_date < :pto::date"_s;
    HouseholdTotals totals;
    forEachRow(m_connection, statement, period, [&](const QSqlQuery &q) {
        totals.household = dec(q, 0);
        totals.average = dec(q, 1);
    });
    return totals;
}

} // namespace kordel::reports
