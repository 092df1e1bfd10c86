#include "journal/auxiliaryworkers.h"

#include "core/datamodule.h"
#include "db/command.h"
#include "db/transaction.h"
#include "journal/entrystore.h"

using namespace Qt::StringLiterals;

namespace kordel {

AuxiliaryWorkers::AuxiliaryWorkers(DataModule &dataModule)
    : m_data(dataModule),
      m_list(dataModule.connectionName(), u"person"_s,
             u"select pt.id as pt_id, pt.f_time, pt.f_time*pt.f_count as f_count,  p.* from "
             u"accounts_dep.person p, "
             "accounts_dep.person_temp pt where p.id=pt.id_person and pt.id_smena =:s_id order by pt.id"_s)
{}

Decimal AuxiliaryWorkers::hourlyShare(const Decimal &finalPrice, int quantity, int defects, int hours)
{
    Q_ASSERT(hours > 0);
    static const Decimal share = *Decimal::parse(u"0.7");
    return Decimal::divide(finalPrice * share * Decimal::fromInt(quantity - defects), Decimal::fromInt(hours),
                           2);
}

void AuxiliaryWorkers::openList(int rowId)
{
    m_list.close();
    m_list.setParam(u"s_id"_s, rowId);
    m_list.open();
}

void AuxiliaryWorkers::add(int rowId, int person, const Decimal &share, int hours)
{
    sql::exec(m_data.connectionName(),
              u"insert into accounts_dep.person_temp(id_smena, id_person, f_count, f_time, type) "
              "values(:s, :p, :f::numeric, :t, 1)"_s,
              {{u"s"_s, rowId}, {u"p"_s, person}, {u"f"_s, share.rounded(2).toString()}, {u"t"_s, hours}});
}

void AuxiliaryWorkers::removeListed(int scratchId)
{
    sql::exec(m_data.connectionName(), u"DELETE FROM accounts_dep.person_temp WHERE id=:id"_s,
              {{u"id"_s, scratchId}});
}

int AuxiliaryWorkers::save(const Entry &entry, const QList<int> &scratchIds)
{
    // Each scratch row is taken out and paid in one statement, so a row that
    // another client working on the same entry has already paid or removed
    // is not paid twice.
    Command pay(
        m_data.connectionName(), u"SmenaIU"_s,
        u"with moved as (delete from accounts_dep.person_temp where id=:pt "
        "returning id_person, f_count, f_time) "
        "insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
        "vvod, ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
        "select id_person, :i, :o, f_time*f_count, 1, 0, :d::date, :s, :c, f_time, now(), 'no', 0, "
        "0, 0, 0, 0, 0 from moved"_s);
    pay.setParam(u"i"_s, entry.product);
    pay.setParam(u"o"_s, EntryStore::kAuxiliaryOperation);
    pay.setParam(u"d"_s, entry.date);
    pay.setParam(u"s"_s, entry.shift);
    pay.setParam(u"c"_s, entry.colour);

    Transaction transaction(m_data.connectionName());
    int written = 0;
    for (const int id : scratchIds) {
        pay.setParam(u"pt"_s, id);
        written += pay.execute();
    }
    transaction.commit();
    return written;
}

void AuxiliaryWorkers::discard(int rowId)
{
    sql::exec(m_data.connectionName(), u"DELETE FROM accounts_dep.person_temp WHERE id_smena=:s"_s,
              {{u"s"_s, rowId}});
}

} // namespace kordel
