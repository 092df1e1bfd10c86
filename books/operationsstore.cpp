#include "books/operationsstore.h"

#include "core/datamodule.h"
#include "db/command.h"
#include "db/dataset.h"

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

QVariant orNull(const std::optional<int> &value)
{
    return value ? QVariant(*value) : sql::nullInt();
}

QVariant orNull(const std::optional<Decimal> &value)
{
    // Sent as decimal text and cast by the server, so the price stays exact.
    return value ? QVariant(value->toString()) : sql::nullText();
}

std::optional<int> intOrNull(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
}

} // namespace

bool OperationsStore::canDelete(int operationId)
{
    // Household kinds, average piecework and the hanging distribution are
    // read by other windows; the other reserved operations may go.
    switch (operationId) {
    case 7777:
    case 7778:
    case 7782:
    case 7783:
    case 7784:
        return false;
    default:
        return true;
    }
}

QString OperationsStore::listSql(OperationList list)
{
    switch (list) {
    case OperationList::Menu:
        // Left joins keep an operation without norm rows (and a product
        // without a group) in the list.  Reserved operations stay hidden
        // until they have a norm row, as in the stored list: they are not
        // for casual deleting.
        return u"select izdel.MARKA, vid_oper.VID, oper.NAIMEN, i.s_caption, (SELECT (CASE naimen WHEN 0 "
               u"THEN "
               "'Готовая продукция' ELSE 'Заготовки' END)) as nmn,\n"
               "count(norm.o_id) norma, min(norm.price)::numeric cena, oper.id, oper.i_id, oper.VID as "
               "oper_vid\n"
               "from accounts_dep.OPER\n"
               "join accounts_dep.IZDEL on OPER.i_id=IZDEL.id\n"
               "join accounts_dep.VID_OPER on oper.vid=vid_oper.id\n"
               "left join cmn_classifier.item i on i.id=izdel.id_class_item\n"
               "left join accounts_dep.norm on norm.o_id=oper.id\n"
               "group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID, i.s_caption\n"
               "having count(norm.o_id) > 0 or oper.id < 7776\n"
               "order by izdel.marka, vid_oper.vid, oper.naimen"_s;
    case OperationList::Pick:
        return DataModule::priceListSql();
    case OperationList::EntryPick:
        return u"select izdel.MARKA, vid_oper.VID, oper.NAIMEN, i.s_caption  , (SELECT (CASE naimen WHEN 0 "
               u"THEN "
               "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, count(o_id) norma, min(price)::numeric "
               "cena, "
               "oper.id, oper.i_id, oper.VID as oper_vid  from "
               "accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,"
               "accounts_dep.VID_OPER, cmn_classifier.item i  where OPER.i_id=IZDEL.id and norm.o_id=oper.id "
               "and "
               "oper.vid=vid_oper.id and i.id =izdel.id_class_item and oper.id <> 7784  group by "
               "izdel.MARKA, "
               "vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID, i.s_caption  order by izdel.marka, "
               "vid_oper.vid, oper.naimen"_s;
    case OperationList::Export:
        return u"select izdel.MARKA, vid_oper.VID, oper.NAIMEN, (SELECT (CASE naimen WHEN 0 THEN "
               "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.CENA_new as cena, oper.id, "
               "oper.i_id,\n"
               "oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER "
               "where OPER.i_id=IZDEL.id\n"
               "and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen"_s;
    }
    return {};
}

QString OperationsStore::naimenText(int naimen)
{
    return naimen == 0 ? u"Готовая продукция"_s : u"Заготовки"_s;
}

QString OperationsStore::operationText(const QString &mark, const QString &kind, int naimen)
{
    return mark.trimmed() + u"; "_s + kind.trimmed() + u"; "_s + naimenText(naimen);
}

Decimal OperationsStore::finalPrice(const Decimal &basePrice, bool dayOff, int shift)
{
    Decimal price = basePrice;
    if (dayOff)
        price = price * Decimal::fromInt(2);
    if (shift == 3)
        price = price * *Decimal::parse(u"1.2");
    else if (shift == 4)
        price = price * *Decimal::parse(u"1.5");
    return price;
}

QString OperationsStore::productMark(int productId) const
{
    return sql::scalar(m_data.connectionName(), u"select marka from accounts_dep.izdel where id=:id"_s,
                       {{u"id"_s, productId}})
        .toString();
}

Check OperationsStore::checkUnique(int kindId, int naimen, int productId, int exceptId) const
{
    QString statement = u"select count(*) as cnt from accounts_dep.OPER where vid=:vid and naimen=:naimen "
                        "and i_id=:i_id"_s;
    Params params{{u"vid"_s, kindId}, {u"naimen"_s, naimen}, {u"i_id"_s, productId}};
    if (exceptId > 0) {
        statement += u" and id<>:id"_s;
        params.insert(u"id"_s, exceptId);
    }
    return m_data.countCheck(statement, params, u"Операция с такими параметрами уже заведена!"_s);
}

int OperationsStore::insertOperation(int kindId, int naimen, int productId) const
{
    return m_data.operIns()
        .runReturning(u"insert into accounts_dep.oper(vid, naimen, i_id, cena_new) "
                      "values (:vid, :naimen, :i_id, 0) returning id"_s,
                      {{u"vid"_s, kindId}, {u"naimen"_s, naimen}, {u"i_id"_s, productId}})
        .toInt();
}

void OperationsStore::updateOperation(int operationId, int kindId, int naimen, int productId) const
{
    // cena_new is the other software's price: left as it is.
    m_data.operEd().run(
        u"update accounts_dep.oper set vid=:vid, naimen=:naimen, i_id=:i_id where id=:id"_s,
        {{u"vid"_s, kindId}, {u"naimen"_s, naimen}, {u"i_id"_s, productId}, {u"id"_s, operationId}});
}

Check OperationsStore::checkNotInJournal(int operationId) const
{
    return m_data.countCheck(u"select count(*) as cnt from accounts_dep.smena where o_id=:id"_s,
                             {{u"id"_s, operationId}}, u"Операция есть в журнале смен, удалить её нельзя!"_s);
}

void OperationsStore::deleteOperation(int operationId) const
{
    Command &del = m_data.operDel();
    del.clearParams();
    del.setParam(u"id"_s, operationId);
    del.execute();
}

QList<PriceExportRow> OperationsStore::exportRows() const
{
    Dataset rows(m_data.connectionName(), u"XLS_Rep"_s, listSql(OperationList::Export));
    rows.open();
    QList<PriceExportRow> result;
    result.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        result.append({rows.valueAt(row, u"marka"_s).toString(), rows.valueAt(row, u"vid"_s).toString(),
                       rows.valueAt(row, u"naimen"_s).toInt(),
                       Decimal::fromVariant(rows.valueAt(row, u"cena"_s))});
    }
    return result;
}

QList<NormRow> OperationsStore::normRows(int operationId) const
{
    Dataset rows(
        m_data.connectionName(), u"norm"_s,
        u"select id, norma, price, prize from accounts_dep.norm where o_id=:o_id order by norma, id"_s);
    rows.setParam(u"o_id"_s, operationId);
    rows.open();
    QList<NormRow> result;
    result.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        const QVariant price = rows.valueAt(row, u"price"_s);
        result.append({rows.valueAt(row, u"id"_s).toInt(), intOrNull(rows.valueAt(row, u"norma"_s)),
                       price.isNull() ? std::nullopt : std::optional<Decimal>(Decimal::fromVariant(price)),
                       intOrNull(rows.valueAt(row, u"prize"_s))});
    }
    return result;
}

int OperationsStore::insertNorm(int operationId, const NormRow &row) const
{
    return sql::scalar(m_data.connectionName(),
                       u"insert into accounts_dep.norm(o_id, norma, price, prize) "
                       "values (:o_id, :norma, :price::numeric, :prize) returning id"_s,
                       {{u"o_id"_s, operationId},
                        {u"norma"_s, orNull(row.norma)},
                        {u"price"_s, orNull(row.price)},
                        {u"prize"_s, orNull(row.prize)}})
        .toInt();
}

void OperationsStore::updateNorm(const NormRow &row) const
{
    sql::exec(
        m_data.connectionName(),
        u"update accounts_dep.norm set norma=:norma, price=:price::numeric, prize=:prize where id=:id"_s,
        {{u"norma"_s, orNull(row.norma)},
         {u"price"_s, orNull(row.price)},
         {u"prize"_s, orNull(row.prize)},
         {u"id"_s, row.id}});
}

bool OperationsStore::deleteNorm(int normId, int operationId) const
{
    // One statement, so the test and the delete see the same rows.
    return sql::exec(m_data.connectionName(),
                     u"delete from accounts_dep.norm where id=:id and o_id=:o_id "
                     "and (select count(*) from accounts_dep.norm where o_id=:o_id) > 1"_s,
                     {{u"id"_s, normId}, {u"o_id"_s, operationId}}) > 0;
}

std::optional<Decimal> OperationsStore::parsePrice(const QString &text)
{
    return Decimal::parse(text);
}

std::optional<int> OperationsStore::parseWhole(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace kordel
