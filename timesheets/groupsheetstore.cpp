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

QString GroupSheetStore::sheetSql(int kind)
{
    const QString kinds = kind == 7777 ? u"(f.id_o=7777 or f.id_o=7782 or f.id_o=7783)"_s : u"f.id_o=7778"_s;
    const QString groupKinds =
        kind == 7777 ? u"(f3.id_o=7777 or f3.id_o=7782 or f3.id_o=7783)"_s : u"f3.id_o=7778"_s;
    const QString rowKinds =
        kind == 7777 ? u"(i_type=7777 or i_type=7782 or i_type=7783)"_s : u"i_type=7778"_s;
    return u"select distinct Trim(i.s_caption) as s_nom, Trim(p.s_caption) as fio, h.id_nom, \n"
           "case when h.i_night=0 then 'дн.' else 'ноч.' end as s_night, h.i_night,\n"
           "(select sum(f.cnt) from accounts_dep.fatigue f where f.d_date<:d_date1 and f.d_date>=:d_date2 "
           "and "
           "f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night and f.id_nom=h.id_nom) i_time,\n"
           "(select sum(f.cnt*f.price)::numeric(10,2) from accounts_dep.fatigue f where f.d_date<:d_date3 "
           "and "
           "f.d_date>=:d_date4 and f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night and f.id_nom=h.id_nom) f_price,\n"
           "(select case when coalesce(sum(f.cnt),0)::numeric(10,2)=0 then 0 else "
           "coalesce(sum((f.cnt*f.price))/sum(f.cnt),0)::numeric(10,2) end \n"
           "from accounts_dep.fatigue f where f.d_date<:d_date5 and f.d_date>=:d_date6 and f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night) average_price,\n"
           "(select sum(coalesce(f3.cnt*f3.price,0))::numeric(10,2) from accounts_dep.fatigue f3 where "
           "f3.d_date<:d_date7 and f3.d_date>=:d_date8 and f3.id_nom=h.id_nom and "_s +
           groupKinds + u") f_price_nom,\n"_s + daySums() +
           u"p.id, h.i_type\n"
           "from  cmn_contractor.person p, accounts_dep.h_tabel h, cmn_classifier.item i\n"
           "where h.year=:i_year and h.month=:i_month and h.w_id=p.id and "_s +
           rowKinds +
           u" and h.id_nom=i.id\n"
           "group by p.id, p.s_caption, h.i_type, h.i_night, h.id_nom, i.s_caption\n"
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
// worker has the same name (grouped by his id).
QString GroupSheetStore::payrollSql()
{
    return u"select slct.fio, slct.s_caption s_nom, slct.id id_nom, sum(slct.sum)::numeric(15,2) sum_all, "
           "(sum(slct.sum)/1.2)::numeric(15,2) sum_all_12, slct.id_p from \n"
           "(SELECT p.id as id_p, p.fio,\n"
           "    i.s_caption,\n"
           "    i.id,\n"
           "    sum(nf.f_sum)::numeric(15,2) AS sum,\n"
           "    nf.d_date\n"
           "   FROM accounts_dep.v_nom_f nf,\n"
           "    cmn_classifier.item i,\n"
           "    accounts_dep.person p\n"
           "  WHERE i.id = nf.id_nom AND p.id::numeric = nf.id_p::numeric and nf.d_date<:data2 and "
           "nf.d_date>=:data1 \n"
           "  GROUP BY i.id, i.s_caption, p.id, p.fio, nf.d_date\n"
           "UNION ALL\n"
           " SELECT p.id as id_p, p.fio,\n"
           "    i.s_caption,\n"
           "    i.id,\n"
           "    sum(ns.f_sum)::numeric(15,2) AS sum,\n"
           "    ns.d_date\n"
           "   FROM accounts_dep.v_nom_s ns,\n"
           "    cmn_classifier.item i,\n"
           "    accounts_dep.person p\n"
           "  WHERE i.id::numeric = ns.id_nom::numeric AND p.id = ns.id_p and ns.d_date<:data4 and "
           "ns.d_date>=:data3 \n"
           "  GROUP BY i.id, i.s_caption, p.id, p.fio, ns.d_date) slct  group by slct.id_p, slct.fio, "
           "slct.s_caption, slct.id order by slct.s_caption, slct.id, slct.fio, slct.id_p"_s;
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
