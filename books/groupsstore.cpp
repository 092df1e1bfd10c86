#include "books/groupsstore.h"

#include "core/datamodule.h"

using namespace Qt::StringLiterals;

namespace kordel {

GroupsStore::GroupsStore(DataModule &dataModule)
    : m_data(dataModule),
      m_item(
          dataModule.connectionName(), u"item"_s,
          u"select *, case when b_excluded=1  then 'V' else '' end as s_excl from cmn_classifier.item where "
          "id_level=2 order by s_caption"_s),
      m_write(dataModule.connectionName(), u"groupWrite"_s)
{}

GroupsStore::Usage GroupsStore::usage(int id) const
{
    Dataset counts(m_data.connectionName(), u"item_gds"_s,
                   u"select (select count(gds.*) cnt_gds from cmn_gds_and_srv.gds_and_srv gds where "
                   "gds.id_class_item = :id_nom3),\n"
                   "(select count(f.*) cnt_f from accounts_dep.fatigue f where f.id_nom = :id_nom1),\n"
                   "(select count(s.*) cnt_s from accounts_dep.smena s,cmn_gds_and_srv.gds_and_srv gds where "
                   "gds.id = s.i_id and gds.id_class_item = :id_nom2)"_s);
    for (const QString &name : {u"id_nom1"_s, u"id_nom2"_s, u"id_nom3"_s})
        counts.setParam(name, id);
    counts.open();
    return {counts.intValue(u"cnt_gds"_s), counts.intValue(u"cnt_f"_s), counts.intValue(u"cnt_s"_s)};
}

int GroupsStore::add(const QString &caption, bool excluded)
{
    return m_write
        .runReturning(u"INSERT INTO cmn_classifier.item(s_caption, b_excluded) VALUES(:caption, :excluded) "
                      "returning id"_s,
                      {{u"caption"_s, caption.trimmed()}, {u"excluded"_s, excluded ? 1 : 0}})
        .toInt();
}

void GroupsStore::change(int id, const QString &caption, bool excluded)
{
    m_write.run(u"UPDATE cmn_classifier.item SET s_caption=:caption, b_excluded=:excluded where id=:id"_s,
                {{u"caption"_s, caption.trimmed()}, {u"excluded"_s, excluded ? 1 : 0}, {u"id"_s, id}});
}

Check GroupsStore::checkDelete(int id) const
{
    const Usage used = usage(id);
    if (used.products > 0)
        return Check::refused(u"В номенклатурной группе есть изделия."_s);
    if (used.householdRows > 0 || used.journalRows > 0)
        return Check::refused(u"В номенклатурной группе есть операции."_s);
    return Check::passed();
}

void GroupsStore::remove(int id)
{
    m_write.run(u"DELETE FROM cmn_classifier.item WHERE id=:id"_s, {{u"id"_s, id}});
}

} // namespace kordel
