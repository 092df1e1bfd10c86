#pragma once

#include "core/outcome.h"
#include "db/command.h"
#include "db/decimal.h"
#include "journal/hoursupkeep.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kordel {

class DataModule;

// One journal row (accounts_dep.smena) as the entry window writes it.
struct JournalEntry
{
    int worker = 0;
    int product = 0;
    int operation = 0;
    Decimal price; // final piece price, day-off and shift factors included
    int quantity = 0;
    int defects = 0;
    QDate date;
    int shift = 0;
    int colour = 0;
    int hours = 0;
};

// The statements of the shift journal's own rows: the entry window's insert
// and change with their duplicate test, and the journal's delete and re-time.
// Every write ends in the hours upkeep of the worker's day, in the same
// transaction, so a row never stands without its hours or the other way round.
class EntryStore
{
public:
    // Operations 7777 and above are household kinds, auxiliary workers and
    // distributions: the entry window neither changes nor copies them.
    static constexpr int kFirstSpecialOperation = 7777;
    static constexpr int kAuxiliaryOperation = 7779;
    static constexpr int kHangingOperation = 7784;

    explicit EntryStore(DataModule &dataModule);
    EntryStore(const EntryStore &) = delete;
    EntryStore &operator=(const EntryStore &) = delete;

    // Painting operations need a colour.
    static bool isPainting(const QString &operationText);
    // "mark; kind; Готовая продукция|Заготовки"
    static QString operationText(const QString &mark, const QString &kind, int naimen);

    // Duplicate test: a row of the same worker, operation, product, date,
    // shift and colour (other than `exceptRowId` when it is not 0) refuses
    // the entry.  Throws DbError.
    Check checkDuplicate(const JournalEntry &entry, int exceptRowId);

    // A new row with mark "no", premium 0 and the document links 0, entered
    // today; returns its id.  Throws DbError.
    int insert(const JournalEntry &entry);
    // Changes a row; its mark stays.  The day it was moved away from is
    // recomputed as well as the day it now counts in.  Throws DbError.
    void change(int rowId, const JournalEntry &entry);

    // Deletes a row and recomputes its worker's day (not for rows of the
    // special operations, whose hours the timesheet does not take from
    // here; the hanging distribution excepted, since its hours count).
    void remove(int rowId);
    // New hours of a hanging distribution row; its price stays.
    void changeHours(int rowId, int hours);

    // The price-list price of an operation, when it has one.
    std::optional<Decimal> basePrice(int operationId);

private:
    DataModule &m_data;
    HoursUpkeep m_upkeep;
    Command m_insert; // ins_smena
    Command m_write;  // SmenaIU
};

} // namespace kordel
