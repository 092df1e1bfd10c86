#include "timesheets/groupsheetstore.h"

#include "core/datamodule.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

QString daySums()
{
    QStringList items;
    for (int day = 1; day <= 31; ++day)
        items << u"\tsum(h. d%1)\tas\td%1,\n"_s.arg(day);
    return items.join(QString());
}

} // namespace

GroupSheetStore::GroupSheetStore(DataModule &dataModule)
    : m_household(std::make_unique<Dataset>(dataModule.connectionName(), u"H_Tabel_7777"_s, sheetSql(7777))),
      m_average(std::make_unique<Dataset>(dataModule.connectionName(), u"H_Tabel_7778"_s, sheetSql(7778))),
      m_payroll(std::make_unique<Dataset>(dataModule.connectionName(), u"H_Tabel"_s, payrollSql()))
{}

GroupSheetStore::~GroupSheetStore() = default;

Dataset &GroupSheetStore::sheet(int kind) const
{
    return kind == 7777 ? *m_household : *m_average;
}

// Each figure is summed once over the month (by worker, night flag and
// group; by worker and night flag for the rate; by group for the group's
// earnings) and joined to the hours rows.
QString GroupSheetStore::sheetSql(int kind)
{
    const QString kinds = kind == 7777 ? u"(f.id_o=7777 or f.id_o=7782 or f.id_o=7783)"_s : u"f.id_o=7778"_s;
    const QString rowKinds =
        kind == 7777 ? u"(i_type=7777 or i_type=7782 or i_type=7783)"_s : u"i_type=7778"_s;
    const QString month =
        u" from accounts_dep.fatigue f where f.d_date<:d_date1 and f.d_date>=:d_date2 and "_s + kinds;
    return u"with f as (select f.id_p, f.i_night, f.id_nom, sum(f.cnt) as i_time, "
           "sum(f.cnt*f.price)::numeric(10,2) as f_price"_s +
           month +
           u" group by f.id_p, f.i_night, f.id_nom),\n"
           "a as (select f.id_p, f.i_night, case when coalesce(sum(f.cnt),0)::numeric(10,2)=0 then 0 else "
           "coalesce(sum((f.cnt*f.price))/sum(f.cnt),0)::numeric(10,2) end as average_price"_s +
           month +
           u" group by f.id_p, f.i_night),\n"
           "g as (select f.id_nom, sum(coalesce(f.cnt*f.price,0))::numeric(10,2) as f_price_nom"_s +
           month +
           u" group by f.id_nom)\n"
           "select distinct Trim(i.s_caption) as s_nom, Trim(p.s_caption) as fio, h.id_nom, \n"
           "case when h.i_night=0 then 'дн.' else 'ноч.' end as s_night, h.i_night,\n"
           "f.i_time, f.f_price, coalesce(a.average_price, 0) as average_price, g.f_price_nom,\n"_s +
           daySums() +
           u"p.id, h.i_type\n"
           "from  cmn_contractor.person p join accounts_dep.h_tabel h on h.w_id=p.id "
           "join cmn_classifier.item i on h.id_nom=i.id\n"
           "left join f on f.id_p=p.id and f.i_night=h.i_night and f.id_nom=h.id_nom\n"
           "left join a on a.id_p=p.id and a.i_night=h.i_night\n"
           "left join g on g.id_nom=h.id_nom\n"
           "where h.year=:i_year and h.month=:i_month and "_s +
           rowKinds +
           u"\ngroup by p.id, p.s_caption, h.i_type, h.i_night, h.id_nom, i.s_caption, f.i_time, f.f_price, "
           "a.average_price, g.f_price_nom\n"
           "order by s_nom, fio"_s;
}

void GroupSheetStore::openSheet(int kind, const MonthPeriod &period) const
{
    Dataset &data = sheet(kind);
    data.close();
    data.setParam(u"i_month"_s, period.month);
    data.setParam(u"i_year"_s, period.year);
    for (int pair = 1; pair <= 4; ++pair) {
        data.setParam(u"d_date"_s + QString::number(2 * pair - 1), period.next);
        data.setParam(u"d_date"_s + QString::number(2 * pair), period.first);
    }
    data.open();
}

// Every earnings line counts, also one equal to a line of the other view
// (union all), and each worker is paid on a row of his own even when another
// worker has the same name (grouped by his id).  Each view's lines are
// summed per worker, group and day before the names are joined.
QString GroupSheetStore::payrollSql()
{
    return u"select p.fio, i.s_caption s_nom, i.id id_nom, sum(slct.sum)::numeric(15,2) sum_all, "
           "(sum(slct.sum)/1.2)::numeric(15,2) sum_all_12, p.id id_p from \n"
           "(SELECT nf.id_p, nf.id_nom, sum(nf.f_sum)::numeric(15,2) AS sum, nf.d_date\n"
           "   FROM accounts_dep.v_nom_f nf\n"
           "  WHERE nf.d_date<:data2 and nf.d_date>=:data1\n"
           "  GROUP BY nf.id_p, nf.id_nom, nf.d_date\n"
           "UNION ALL\n"
           " SELECT ns.id_p, ns.id_nom, sum(ns.f_sum)::numeric(15,2) AS sum, ns.d_date\n"
           "   FROM accounts_dep.v_nom_s ns\n"
           "  WHERE ns.d_date<:data4 and ns.d_date>=:data3\n"
           "  GROUP BY ns.id_p, ns.id_nom, ns.d_date) slct\n"
           "join accounts_dep.person p on p.id::numeric = slct.id_p::numeric\n"
           "join cmn_classifier.item i on i.id::numeric = slct.id_nom::numeric\n"
           "group by p.id, p.fio, i.s_caption, i.id order by i.s_caption, i.id, p.fio, p.id"_s;
}

void GroupSheetStore::openPayroll(const MonthPeriod &period) const
{
    Dataset &data = payroll();
    data.close();
    data.setParam(u"data1"_s, period.first);
    data.setParam(u"data3"_s, period.first);
    data.setParam(u"data2"_s, period.next);
    data.setParam(u"data4"_s, period.next);
    data.open();
}

} // namespace kordel
