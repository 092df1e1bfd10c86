#pragma once

#include "db/dataset.h"
#include "db/decimal.h"
#include "journal/hoursupkeep.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kordel {

class DataModule;

// One household record (accounts_dep.fatigue) as the entry window writes it:
// time-paid work of kind 7777, 7782 or 7783, or an average-piecework day
// (7778).
struct HouseholdRecord
{
    int worker = 0;
    int kind = 0;
    qint64 group = 0;
    QDate date;
    int shift = 1;
    int hours = 0;
    Decimal price; // hourly price, day-off and night factors included
    bool dayOff = false;
    bool night = false;
};

// The household works of a day and the monthly average-piecework rate.  Every
// write ends in the household hours upkeep of the keys it touched, in the
// same transaction, so a record never stands without its hours in the
// timesheet or the other way round.
class HouseholdStore
{
public:
    explicit HouseholdStore(DataModule &dataModule);
    HouseholdStore(const HouseholdStore &) = delete;
    HouseholdStore &operator=(const HouseholdStore &) = delete;

    // The records of one day (parameter d_date), with the names of the worker,
    // group and kind, the amount and the "+" of the day-off and night flags.
    static QString listSql();
    // The kinds a record may take with their norm prices (parameter cnt).
    static QString kindListSql();

    Dataset &list() { return m_list; }   // "fatigue"
    Dataset &kinds() { return m_kinds; } // "type_work"
    void openList(const QDate &date);    // close, set d_date, open
    void openKinds();

    // The norm price doubled on a day off, then raised by a fifth for night
    // hours; kept to the four places of the price column.
    static Decimal finalPrice(const Decimal &normPrice, bool dayOff, bool night);

    // Throws DbError; nothing stays written when any part fails.
    int insert(const HouseholdRecord &record);
    // Date, month, year and shift stay as stored.  The key the record left
    // (worker, kind, night flag or group changed) is recomputed as well.
    void change(int recordId, const HouseholdRecord &record);
    void remove(int recordId);

    // Every average-piecework record of the month gets as its price the
    // worker's piecework earnings per hour over the month's journal, with
    // the record's own night and day-off factors, to two places; 0 without
    // journal hours.  Returns the records priced.  Throws DbError.
    int computeAveragePiecework(int month, int year);

private:
    DataModule &m_data;
    HoursUpkeep m_upkeep;
    Dataset m_list;
    Dataset m_kinds;
};

} // namespace kordel
