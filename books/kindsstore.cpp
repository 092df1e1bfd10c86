#include "books/kindsstore.h"

#include "core/datamodule.h"
#include "db/command.h"
#include "db/dataset.h"
#include "db/dberror.h"

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

const QString duplicateMessage = u"Такая операция уже заведена!"_s;
const QString inUseMessage = u"Вид операции есть в операциях, удалить его нельзя!"_s;

// upper() of the server on both sides: Cyrillic names compare without
// regard to case as well.
const QString countByName =
    u"select count(*) as cnt from accounts_dep.vid_oper where upper(vid)=upper(:vid)"_s;

} // namespace

KindsStore::KindsStore(DataModule &dataModule) : m_data(dataModule) {}

Dataset &KindsStore::kinds() const
{
    return m_data.vidOper();
}

bool KindsStore::isLockedForChange(int id)
{
    return id == 7777 || id == 7778 || id == 7782 || id == 7783;
}

bool KindsStore::isLockedForDelete(int id)
{
    return isLockedForChange(id) || id == 7784;
}

void KindsStore::setPickFilter(const QString &text)
{
    Dataset &list = kinds();
    auto ordinary = filters::lessThan(u"id"_s, FirstReservedId);
    if (text.isEmpty())
        list.setFilter(std::move(ordinary));
    else
        list.setFilter(filters::allOf({std::move(ordinary), filters::beginsWith(u"vid"_s, text)}));
    list.setFiltered(true);
}

void KindsStore::switchFilterOff()
{
    kinds().setFiltered(false);
}

Check KindsStore::checkNewName(const QString &name) const
{
    return m_data.countCheck(countByName, {{u"vid"_s, name.trimmed()}}, duplicateMessage);
}

Check KindsStore::checkRename(int id, const QString &name) const
{
    return m_data.countCheck(countByName + u" and id<>:id"_s, {{u"vid"_s, name.trimmed()}, {u"id"_s, id}},
                             duplicateMessage);
}

Check KindsStore::checkDelete(int id) const
{
    return m_data.countCheck(u"select count(*) as cnt from accounts_dep.oper where vid=:id"_s,
                             {{u"id"_s, id}}, inUseMessage);
}

int KindsStore::add(const QString &name)
{
    const QVariant id = sql::scalar(m_data.connectionName(),
                                    u"insert into accounts_dep.vid_oper (vid) values (:vid) returning id"_s,
                                    {{u"vid"_s, name.trimmed()}});
    if (!id.isValid())
        throw DbError(u"Новый вид операции не записан."_s);
    return id.toInt();
}

void KindsStore::rename(int id, const QString &name)
{
    sql::exec(m_data.connectionName(), u"update accounts_dep.vid_oper set vid=:vid where id=:id"_s,
              {{u"vid"_s, name.trimmed()}, {u"id"_s, id}});
}

Check KindsStore::remove(int id)
{
    // An operation written by another client since the check keeps the kind.
    const int deleted = sql::exec(m_data.connectionName(),
                                  u"delete from accounts_dep.vid_oper v where v.id=:id and not exists "
                                  "(select 1 from accounts_dep.oper o where o.vid=v.id)"_s,
                                  {{u"id"_s, id}});
    if (deleted == 0)
        return checkDelete(id);
    return Check::passed();
}

} // namespace kordel
