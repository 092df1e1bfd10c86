#include "books/productsstore.h"

#include "core/datamodule.h"
#include "db/decimal.h"
#include "widgets/messages.h"
#include "db/transaction.h"

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

const QString kIncomplete = u"Все поля должны быть заполнены!"_s;
const QString kNotANumber = u"В поле «Расценка» должно быть число!"_s;
const QString kDuplicate = u"Такая марка изделия уже заведена!"_s;
const QString kAskOperations = u"По изделию есть расценки они будут удалены!!!"_s;
const QString kAskWithJournal = u"По изделию есть операции в текущем, предыдущем месяцах и ранее, они будут "
                                "удалены. Удалить изделие? "_s;
const QString kAskProduct = u"Удалить изделие? "_s;

} // namespace

ProductsStore::ProductsStore(DataModule &dataModule)
    : m_data(dataModule),
      m_groups(dataModule.connectionName(), u"Groups"_s,
               u"select * from cmn_classifier.item where id_level=2 and b_excluded=0 order by s_caption"_s)
{}

Dataset &ProductsStore::products() const
{
    return m_data.izdel();
}

bool ProductsStore::isReserved(int id)
{
    return id == 7777 || id == 7778 || id == 7782 || id == 7783;
}

QDate ProductsStore::journalCountFrom(const QDate &today)
{
    const int month = today.month() == 1 ? 13 : today.month();
    return QDate(2000, month - 1, 1);
}

ProductsStore::Saved ProductsStore::save(int id, const Fields &fields, QWidget *parent, int *newId)
{
    const QString mark = fields.mark.trimmed();
    const QString massaText = fields.massa.trimmed();
    if (mark.isEmpty() || massaText.isEmpty() || fields.groupId == 0) {
        messages::error(parent, kIncomplete);
        return Saved::Incomplete;
    }
    // The key filter lets only digits and a point through, but a pasted text
    // or a second point must not reach the database.
    const std::optional<Decimal> massa = Decimal::parse(massaText);
    if (!massa) {
        messages::error(parent, kNotANumber);
        return Saved::NotANumber;
    }

    // Marks are compared without regard to letter case, Cyrillic included.
    QString check =
        u"select count(*) as cnt from accounts_dep.izdel where upper(marka)=upper(:marka::text)"_s;
    Params checkParams{{u"marka"_s, mark}};
    if (id != 0) {
        check += u" and id<>:id"_s;
        checkParams.insert(u"id"_s, id);
    }
    if (refuseIfCounted(m_data, check, checkParams, kDuplicate, parent) == DataModule::Refused)
        return Saved::Duplicate;

    const Params params{{u"marka"_s, mark}, {u"massa"_s, massa->toString()}, {u"grp"_s, fields.groupId}};
    if (id == 0) {
        const QVariant created =
            m_data.sqlExec().runReturning(u"INSERT INTO cmn_gds_and_srv.gds_and_srv(s_caption, "
                                          u"s_description, id_msm_bs, massa, id_class_item) "
                                          "VALUES(:marka, '', 6, :massa::numeric, :grp) returning id"_s,
                                          params);
        if (newId)
            *newId = created.toInt();
    } else {
        Params update = params;
        update.insert(u"id"_s, id);
        m_data.sqlExec().run(u"UPDATE cmn_gds_and_srv.gds_and_srv SET s_caption=:marka, s_description='', "
                             "id_msm_bs=6, massa=:massa::numeric, id_class_item=:grp where id=:id"_s,
                             update);
    }
    return Saved::Written;
}

int ProductsStore::journalRows(int id, const QDate &from) const
{
    return sql::scalar(m_data.connectionName(),
                       u"select count(*) as cnt from accounts_dep.smena s where s.i_id =:id_ii and "
                       "s.\"data\">=:dt::date"_s,
                       {{u"id_ii"_s, id}, {u"dt"_s, from}})
        .toInt();
}

int ProductsStore::operations(int id) const
{
    return sql::scalar(m_data.connectionName(),
                       u"select count(*) as cnt from accounts_dep.oper o where o.i_id =:id_ii"_s,
                       {{u"id_ii"_s, id}})
        .toInt();
}

bool ProductsStore::remove(int id, QWidget *parent, const QDate &today)
{
    if (isReserved(id))
        return false;
    const int journal = journalRows(id, journalCountFrom(today));
    const Params byId{{u"id"_s, id}};
    Command &del = m_data.delSmena();
    bool deleted = false;

    // Either answer goes on to the product itself.
    if (operations(id) > 0 && messages::askDelete(parent, kAskOperations)) {
        del.run(u"delete from accounts_dep.oper o where o.i_id =:id"_s, byId);
        deleted = true;
    }

    if (!messages::askDelete(parent, journal > 0 ? kAskWithJournal : kAskProduct))
        return deleted;
    // Journal rows must not go while their product stays.
    Transaction transaction(m_data.connectionName());
    if (journal > 0)
        del.run(u"delete from accounts_dep.smena s where s.i_id =:id"_s, byId);
    del.run(u"delete from cmn_gds_and_srv.gds_and_srv  where id=:id"_s, byId);
    transaction.commit();
    return true;
}

} // namespace kordel
