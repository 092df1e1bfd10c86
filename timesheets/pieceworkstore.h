#pragma once

#include "db/dataset.h"
#include "db/decimal.h"
#include "timesheets/period.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace kordel {

class DataModule;

// The modes of the piecework timesheet window, its Tag.
enum class PieceworkMode {
    Piecework = 9,  // journal hours and earnings
    Household = 14, // household works by worker and day/night
    Average = 15,   // average piecework by worker and day/night
    General = 17,   // journal plus household records
};

// The month's statements of the piecework timesheet, its totals, and the
// rebuild of the month's household rows of the hours timesheet.
class PieceworkStore
{
public:
    explicit PieceworkStore(DataModule &dataModule);
    ~PieceworkStore();

    // H_Tabel0, H_Tabel_all, H_Tabel7777 or H_Tabel7778.
    Dataset &sheet(PieceworkMode mode) const;
    static QString sheetSql(PieceworkMode mode);
    // Closes the sheet, binds the month and opens it; throws DbError.
    void openSheet(PieceworkMode mode, const MonthPeriod &period) const;

    // The totals panel; a part the month has no records of is empty, except
    // "Итого:", which counts a missing part as 0.
    struct Totals
    {
        std::optional<Decimal> average;   // price8, "Ср. сдел.:"
        std::optional<Decimal> household; // price7, "Хоз. работы:"
        std::optional<Decimal> piecework; // price, "Сделка:"
        std::optional<Decimal> all;       // all_price, "Итого:"
    };
    Totals totals(const MonthPeriod &period) const;

    struct RebuildOutcome
    {
        bool done = false;
        QString refusal; // why nothing was changed
    };
    // The month's household rows (shift 0) made again from the household
    // records, and the day cells of the month's shift rows taken again from
    // the journal; shift rows are not created.  One transaction holding the
    // month against the hours upkeep.  Throws DbError.
    RebuildOutcome rebuild(const MonthPeriod &period) const;

    // The rebuild's statements for a month of `days` days, in their order,
    // with the parameters :k (lock key), :m, :y (month, year), :f, :n (first
    // day, first day of the next month).  Also run bare by the benchmark.
    static QStringList rebuildStatements(int days);

private:
    DataModule &m_data;
    std::unique_ptr<Dataset> m_sheets[4];
};

} // namespace kordel
