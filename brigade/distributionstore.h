#pragma once

#include "db/command.h"
#include "db/dataset.h"
#include "db/decimal.h"
#include "journal/hoursupkeep.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kordel {

class DataModule;

// The three kinds of distribution: the coefficient of the reference hourly
// earnings and the operation code the pay is written under.
enum class Distribution { Brigade, Painting, Hanging };

namespace distribution {

Decimal coefficient(Distribution kind); // 0.7, 1.2, 0.4
int code(Distribution kind);            // 7781, 7780, 7784

// a ÷ b rounded to `scale` places, exact halves to the even neighbour.
// b must not be zero.
Decimal divideHalfEven(const Decimal &a, const Decimal &b, int scale);
Decimal roundHalfEven(const Decimal &value, int scale);

struct Pay
{
    Decimal rate; // money per hour: total money ÷ total hours × coefficient
    Decimal pay;  // hours worked × the same unrounded ratio
};
// Nothing when the list holds no hours.
std::optional<Pay> compute(const Decimal &totalMoney, const Decimal &totalHours, int hoursWorked,
                           Distribution kind);

} // namespace distribution

// One row of a distribution list: a reference worker's hourly earnings.
struct ReferenceRow
{
    int worker = 0;
    int kind = 0; // operation kind, or 0 when not split by operation
    Decimal rate; // money per hour, two places
    Decimal hours;
};

// The distribution list of one paid worker (accounts_dep.painting_temp) and
// the pay written from it.
//
// A list belongs to the workstation that picked its paid worker: the pick
// takes a session advisory lock on him, held until the list is let go (the
// window closes) or the connection ends.  Another workstation picking the
// same worker meanwhile is refused and the list stays untouched.
class DistributionStore
{
public:
    explicit DistributionStore(DataModule &dataModule);
    ~DistributionStore();
    DistributionStore(const DistributionStore &) = delete;
    DistributionStore &operator=(const DistributionStore &) = delete;

    Dataset &list() { return m_list; }     // "painting_temp": w_fio, id_p, id, f_time, f_count, vid
    Dataset &totals() { return m_totals; } // "painting_temp_sum": id_p, f_count, f_time

    // Takes the paid worker's list: false when another workstation holds
    // it.  Rows left over from earlier are cleared; the list held before
    // (another worker's) is cleared and let go.  Throws DbError.
    bool take(int paidWorker);
    // Clears the held list and lets it go; nothing when none is held.
    void release();
    int paidWorker() const { return m_paidWorker; }

    // Closes and reads both lists of the held worker.
    void reopen();
    void add(const ReferenceRow &row);
    void removeRow(int rowId);

    // The list's total money and hours; nothing when the list is empty.
    struct Totals
    {
        Decimal money;
        Decimal hours;
    };
    std::optional<Totals> currentTotals() const;

    // One journal row for the paid worker: product, operation and colour the
    // kind's code, price the pay, quantity 1, the hours worked; for hanging
    // also the worker's hours of the day.  The list is cleared in the same
    // transaction.  Throws DbError.
    int save(Distribution kind, const Decimal &pay, int hoursWorked, const QDate &date, int shift);

private:
    void clearRows(int paidWorker);
    static qint64 lockKey(int paidWorker);

    DataModule &m_data;
    HoursUpkeep m_upkeep;
    Dataset m_list;
    Dataset m_totals;
    Command m_delete; // DelSmena
    Command m_insert; // ins_person
    Command m_write;  // SmenaIU
    int m_paidWorker = 0;
};

} // namespace kordel
