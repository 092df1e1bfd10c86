#include "journal/entrystore.h"

#include "core/datamodule.h"
#include "db/dataset.h"
#include "db/transaction.h"

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

using Mode = HoursUpkeep::Mode;

Params entryParams(const JournalEntry &entry)
{
    return {
        {u"w"_s, entry.worker},
        {u"i"_s, entry.product},
        {u"o"_s, entry.operation},
        {u"cena"_s, entry.price.rounded(4).toString()},
        {u"q"_s, entry.quantity},
        {u"b"_s, entry.defects},
        {u"d"_s, entry.date},
        {u"s"_s, entry.shift},
        {u"c"_s, entry.colour},
        {u"t"_s, entry.hours},
        {u"vvod"_s, QDate::currentDate()},
    };
}

// The day cell a journal row counts in.
struct DayKey
{
    int worker = 0;
    int shift = 0;
    QDate date;
    auto tie() const { return std::make_tuple(worker, shift, date.year(), date.month(), date.day()); }
    bool operator==(const DayKey &other) const { return tie() == other.tie(); }
};

// The row's key as the database holds it; nothing when the row is gone.
std::optional<DayKey> readRow(Dataset &row)
{
    row.open();
    if (row.isEmpty())
        return std::nullopt;
    return DayKey{row.intValue(u"w_id"_s), row.intValue(u"smena"_s), row.value(u"data"_s).toDate()};
}

} // namespace

EntryStore::EntryStore(DataModule &dataModule)
    : m_data(dataModule), m_upkeep(dataModule), m_insert(dataModule.connectionName(), u"ins_smena"_s),
      m_write(dataModule.connectionName(), u"SmenaIU"_s)
{}

bool EntryStore::isPainting(const QString &operationText)
{
    return operationText.toUpper().contains(u"КРАСКА"_s);
}

QString EntryStore::operationText(const QString &mark, const QString &kind, int naimen)
{
    return mark.trimmed() + u"; "_s + kind.trimmed() + u"; "_s +
           (naimen == 0 ? u"Готовая продукция"_s : u"Заготовки"_s);
}

Check EntryStore::checkDuplicate(const JournalEntry &entry, int exceptRowId)
{
    Params params{{u"w"_s, entry.worker}, {u"o"_s, entry.operation}, {u"i"_s, entry.product},
                  {u"d"_s, entry.date},   {u"s"_s, entry.shift},     {u"c"_s, entry.colour}};
    QString statement =
        u"select count(id) as cnt from accounts_dep.SMENA where w_id=:w and o_id=:o and i_id=:i "
        "and data=:d::date and smena=:s"_s;
    if (exceptRowId != 0) {
        statement += u" and id<>:id"_s;
        params.insert(u"id"_s, exceptRowId);
    }
    statement += u" and color=:c"_s;
    return m_data.countCheck(statement, params, u"Позиция с такими параметрами уже заведена!"_s);
}

int EntryStore::insert(const JournalEntry &entry)
{
    Transaction transaction(m_data.connectionName());
    const int id =
        m_insert
            .runReturning(
                u"insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
                "time, vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
                "values(:w, :i, :o, :cena::numeric, :q, :b, :d::date, :s, :c, :t, :vvod::date, 'no', 0, "
                "0, 0, 0, 0, 0) returning id as cur_id"_s,
                entryParams(entry))
            .toInt();
    m_upkeep.shiftHours(entry.worker, entry.shift, entry.date, Mode::Upsert);
    transaction.commit();
    return id;
}

void EntryStore::change(int rowId, const JournalEntry &entry)
{
    Transaction transaction(m_data.connectionName());
    Dataset row(m_data.connectionName(), u"changedRow"_s,
                u"select w_id, smena, data from accounts_dep.smena where id=:id for update"_s);
    row.setParam(u"id"_s, rowId);
    const std::optional<DayKey> before = readRow(row);

    Params params = entryParams(entry);
    params.insert(u"id"_s, rowId);
    m_write.run(u"update accounts_dep.SMENA set w_id=:w, i_id=:i, o_id=:o, cena=:cena::numeric, kol_vo=:q, "
                "brak=:b, data=:d::date, smena=:s, color=:c, time=:t, vvod=:vvod::date, prize=0, id_doc=0, "
                "id_doc_item=0, f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 where id=:id"_s,
                params);

    // The day the row now counts in, and the day it left, which would
    // otherwise keep hours no row has any more.  Kept in a fixed order, so
    // that two clients moving rows the opposite ways between the same two
    // months never each hold the lock the other is waiting for.
    struct Upkeep
    {
        DayKey key;
        Mode mode;
    };
    QList<Upkeep> days{{DayKey{entry.worker, entry.shift, entry.date}, Mode::Upsert}};
    if (before && !(*before == days.first().key))
        days.append({*before, Mode::UpdateOnly});
    std::sort(days.begin(), days.end(),
              [](const Upkeep &a, const Upkeep &b) { return a.key.tie() < b.key.tie(); });
    for (const Upkeep &day : days)
        m_upkeep.shiftHours(day.key.worker, day.key.shift, day.key.date, day.mode);
    transaction.commit();
}

void EntryStore::remove(int rowId)
{
    Transaction transaction(m_data.connectionName());
    Dataset row(m_data.connectionName(), u"deletedRow"_s,
                u"delete from accounts_dep.smena where id=:id returning w_id, smena, data, o_id"_s);
    row.setParam(u"id"_s, rowId);
    const std::optional<DayKey> day = readRow(row);
    if (day) {
        const int operation = row.intValue(u"o_id"_s);
        if (operation < kFirstSpecialOperation || operation == kHangingOperation)
            m_upkeep.shiftHours(day->worker, day->shift, day->date, Mode::UpdateOnly);
    }
    transaction.commit();
}

void EntryStore::changeHours(int rowId, int hours)
{
    Transaction transaction(m_data.connectionName());
    Dataset row(m_data.connectionName(), u"retimedRow"_s,
                u"update accounts_dep.SMENA set time=:t where id=:id returning w_id, smena, data"_s);
    row.setParam(u"t"_s, hours);
    row.setParam(u"id"_s, rowId);
    if (const std::optional<DayKey> day = readRow(row))
        m_upkeep.shiftHours(day->worker, day->shift, day->date, Mode::UpdateOnly);
    transaction.commit();
}

std::optional<Decimal> EntryStore::basePrice(int operationId)
{
    const QVariant price = sql::scalar(
        m_data.connectionName(), u"select min(price)::numeric as cena from accounts_dep.norm where o_id=:o"_s,
        {{u"o"_s, operationId}});
    if (price.isNull())
        return std::nullopt;
    return Decimal::fromVariant(price);
}

} // namespace kordel
