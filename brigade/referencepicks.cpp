#include "brigade/referencepicks.h"

#include "core/datamodule.h"
#include "household/householdstore.h"

using namespace Qt::StringLiterals;

namespace kordel {

ReferencePicks::ReferencePicks(DataModule &dataModule)
    : m_journal(dataModule.connectionName(), u"painting"_s, byOperationSql()),
      m_household(dataModule.connectionName(), u"fatigue"_s, HouseholdStore::listSql())
{}

QString ReferencePicks::byOperationSql()
{
    return u"select person.s_caption p_fio, s.w_id, sum(s.cena*(s.kol_vo-s.brak))::numeric(100,2) as f_summ, "
           "sum(s.time) as t_time, vid_oper.vid, oper.naimen,  color, s.data, s.smena, vid_oper.id v_id  "
           "from "
           "cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena "
           "s,accounts_dep.vid_oper  where s.i_id=izdel.id and s.o_id=oper.id and (w_id=person.id or "
           "s_code::t_id=w_id) and  oper.vid=vid_oper.id and s.smena=:i_smena and s.data=:d_date::date  "
           "group by "
           "s.data, s.smena, s.w_id, vid_oper.vid, oper.naimen,  color, vid_oper.id,person.s_caption  order "
           "by "
           "p_fio, oper.naimen, color"_s;
}

QString ReferencePicks::byWorkerSql()
{
    return u"select person.s_caption p_fio, s.w_id, sum(s.cena*(s.kol_vo-s.brak))::numeric(100,2) as f_summ, "
           "sum(s.time) as t_time, s.data, s.smena,  '' as vid, 0 as naimen, 0 as color, 0 as v_id from "
           "cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena "
           "s,accounts_dep.vid_oper where s.i_id=izdel.id and s.o_id=oper.id and (w_id=person.id or "
           "s_code::t_id=w_id) and oper.vid=vid_oper.id and s.smena=:i_smena and s.data=:d_date::date group "
           "by "
           "s.data, s.smena, s.w_id, person.s_caption order by p_fio"_s;
}

void ReferencePicks::openJournal(bool byOperation, int shift, const QDate &date)
{
    m_journal.close();
    m_journal.setSql(byOperation ? byOperationSql() : byWorkerSql());
    m_journal.setParam(u"i_smena"_s, shift);
    m_journal.setParam(u"d_date"_s, date);
    m_journal.open();
}

void ReferencePicks::openHousehold(const QDate &date)
{
    m_household.close();
    m_household.setParam(u"d_date"_s, date);
    m_household.open();
}

std::optional<ReferenceRow> ReferencePicks::fromJournal(int worker, int kind, const Decimal &money,
                                                        const Decimal &hours)
{
    if (hours.isZero())
        return std::nullopt;
    return ReferenceRow{worker, kind, distribution::divideHalfEven(money, hours, 2), hours};
}

std::optional<ReferenceRow> ReferencePicks::fromHousehold(int worker, int kind, const Decimal &price,
                                                          int hours)
{
    if (hours <= 0)
        return std::nullopt;
    return ReferenceRow{worker, kind, distribution::roundHalfEven(price, 2), Decimal::fromInt(hours)};
}

} // namespace kordel
