#include "books/productsstore.h"

#include "core/datamodule.h"
#include "db/decimal.h"
#include "db/transaction.h"
#include "journal/hoursupkeep.h"

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

const QString kIncomplete = u"Все поля должны быть заполнены!"_s;
const QString kNotANumber = u"В поле «Расценка» должно быть число!"_s;
const QString kDuplicate = u"Такая марка изделия уже заведена!"_s;

} // namespace

ProductsStore::ProductsStore(DataModule &dataModule)
    : m_data(dataModule),
      m_groups(dataModule.connectionName(), u"Groups"_s,
               u"select * from cmn_classifier.item where id_level=2 and b_excluded=0 order by s_caption"_s),
      m_write(dataModule.connectionName(), u"productWrite"_s)
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

ProductsStore::SaveOutcome ProductsStore::save(int id, const Fields &fields)
{
    const QString mark = fields.mark.trimmed();
    const QString massaText = fields.massa.trimmed();
    if (mark.isEmpty() || massaText.isEmpty() || fields.groupId == 0)
        return {Saved::Incomplete, Check::refused(kIncomplete), 0};
    // The key filter lets only digits and a point through, but a pasted text
    // or a second point must not reach the database.
    const std::optional<Decimal> massa = Decimal::parse(massaText);
    if (!massa)
        return {Saved::NotANumber, Check::refused(kNotANumber), 0};

    // Marks are compared without regard to letter case, Cyrillic included.
    QString check =
        u"select count(*) as cnt from accounts_dep.izdel where upper(marka)=upper(:marka::text)"_s;
    Params checkParams{{u"marka"_s, mark}};
    if (id != 0) {
        check += u" and id<>:id"_s;
        checkParams.insert(u"id"_s, id);
    }
    const Check unique = m_data.countCheck(check, checkParams, kDuplicate);
    if (unique.isRefused())
        return {Saved::Duplicate, unique, 0};

    const Params params{{u"marka"_s, mark}, {u"massa"_s, massa->toString()}, {u"grp"_s, fields.groupId}};
    if (id == 0) {
        const QVariant created =
            m_write.runReturning(u"INSERT INTO cmn_gds_and_srv.gds_and_srv(s_caption, "
                                 u"s_description, id_msm_bs, massa, id_class_item) "
                                 "VALUES(:marka, '', 6, :massa::numeric, :grp) returning id"_s,
                                 params);
        return {Saved::Written, Check::passed(), created.toInt()};
    }
    Params update = params;
    update.insert(u"id"_s, id);
    m_write.run(u"UPDATE cmn_gds_and_srv.gds_and_srv SET s_caption=:marka, s_description='', "
                "id_msm_bs=6, massa=:massa::numeric, id_class_item=:grp where id=:id"_s,
                update);
    return {Saved::Written, Check::passed(), id};
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

ProductsStore::DeletePlan ProductsStore::deletePlan(int id, const QDate &today) const
{
    if (isReserved(id))
        return {};
    return {true, operations(id), journalRows(id, journalCountFrom(today))};
}

bool ProductsStore::remove(int id, const DeleteAnswers &answers)
{
    if (isReserved(id) || (!answers.operations && !answers.product))
        return false;
    const QString connection = m_data.connectionName();
    const Params byId{{u"id"_s, id}};
    Transaction transaction(connection);
    int deleted = 0;
    if (answers.product) {
        // Journal rows must not go while their product stays; the days they
        // counted in keep no hours of rows that are gone.  The timesheet
        // takes the hours of ordinary operations and of the hanging
        // distribution from the journal, the others from elsewhere.
        Dataset gone(connection, u"deletedJournal"_s,
                     u"delete from accounts_dep.smena s where s.i_id=:id returning s.w_id, s.smena, s.data, "
                     "case when s.o_id < 7777 or s.o_id = 7784 then 1 else 0 end as counted"_s);
        gone.setParam(u"id"_s, id);
        gone.open();
        QList<HoursUpkeep::ShiftDay> days;
        for (int row = 0; row < gone.recordCount(); ++row) {
            if (gone.valueAt(row, u"counted"_s).toInt() == 1)
                days.append({gone.valueAt(row, u"w_id"_s).toInt(), gone.valueAt(row, u"smena"_s).toInt(),
                             gone.valueAt(row, u"data"_s).toDate()});
        }
        deleted += gone.recordCount();
        gone.close();
        HoursUpkeep(m_data).shiftDaysUpdateOnly(days);
    }
    if (answers.operations) {
        // Without the product its journal rows stay, and with them the
        // operations they were entered under.
        deleted +=
            m_write.run(answers.product ? u"delete from accounts_dep.oper o where o.i_id=:id"_s
                                        : u"delete from accounts_dep.oper o where o.i_id=:id and not exists "
                                          "(select 1 from accounts_dep.smena s where s.o_id=o.id)"_s,
                        byId);
    }
    if (answers.product)
        deleted += m_write.run(u"delete from cmn_gds_and_srv.gds_and_srv where id=:id"_s, byId);
    transaction.commit();
    return deleted > 0;
}

} // namespace kordel
