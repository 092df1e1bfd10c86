#include "books/workersstore.h"

#include "core/datamodule.h"
#include "db/command.h"
#include "db/dberror.h"

using namespace Qt::StringLiterals;

namespace kordel {

WorkersStore::WorkersStore(DataModule &dataModule) : m_data(dataModule) {}

Dataset &WorkersStore::workers() const
{
    return m_data.workers();
}

void WorkersStore::setNameFilter(const QString &text)
{
    Dataset &list = workers();
    list.applyFilter(text.isEmpty() ? Dataset::Filter() : filters::beginsWith(u"fio"_s, text));
}

int WorkersStore::add(const QString &name, const QString &position)
{
    const QVariant id =
        sql::scalar(m_data.connectionName(),
                    u"insert into accounts_dep.person (fio, s_staffpos_hl) values (:fio, :pos) "
                    "returning id as cur_id"_s,
                    {{u"fio"_s, name.trimmed()}, {u"pos"_s, position}});
    if (!id.isValid())
        throw DbError(u"Новый работник не записан."_s);
    return id.toInt();
}

void WorkersStore::change(int id, const QString &name, const QString &position)
{
    sql::exec(
        m_data.connectionName(),
        u"update accounts_dep.person set fio=:fio, s_staffpos_hl=:pos where accounts_dep.person.id=:id"_s,
        {{u"fio"_s, name.trimmed()}, {u"pos"_s, position}, {u"id"_s, id}});
}

void WorkersStore::remove(int id)
{
    sql::exec(m_data.connectionName(), u"delete from accounts_dep.person where id=:id"_s, {{u"id"_s, id}});
}

WorkerLookups::WorkerLookups(const QString &connectionName)
    : m_positions(connectionName, u"Staffpos"_s,
                  u"select id, id_department, s_code, s_caption, d_begin, d_end, s_description "
                  "from hrms_staffpos.staffpos order by s_caption, id"_s),
      m_departments(connectionName, u"Department"_s,
                    u"select id, id_branch, s_code, s_caption, s_description, id_parent "
                    "from cmn_department.department order by s_caption, id"_s),
      m_roles(
          connectionName, u"Roles"_s,
          u"select id, s_name, s_caption, d_begin, d_end, b_active from adm_role.roles order by s_caption, id"_s)
{}

void WorkerLookups::reload()
{
    m_positions.open();
    m_departments.open();
    m_roles.open();
}

} // namespace kordel
