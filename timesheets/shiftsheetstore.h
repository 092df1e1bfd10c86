#pragma once

#include "timesheets/period.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace kordel {

class DataModule;

// One worker's line of the printed monthly hours timesheet: his hours of
// each day over all his rows of the month, whatever the shift or kind.
struct MonthHoursLine
{
    QString fio;
    std::array<std::optional<int>, 31> days{}; // empty: no hours recorded
    // The days' sum, empty days counted as 0.
    int total() const;
};

// The statements of the timesheet by shifts: the month rebuilt from the
// journal, and the month's hours per worker for the print and the export.
class ShiftSheetStore
{
public:
    explicit ShiftSheetStore(DataModule &dataModule);

    // Called before each step of a rebuild, 1..rebuildSteps.
    using Progress = std::function<void(int step)>;
    static constexpr int rebuildSteps = 3;

    // Replaces the month's shift rows (shifts 1..4) with one row per worker
    // and shift of the month's journal, each day holding the sum of that
    // day's hours (empty when the worker has no journal row that day, or
    // only rows without hours).  Household rows (shift 0) stay.  One
    // transaction, holding the month against every hours upkeep; on error
    // nothing changes and DbError is thrown.  Returns the rows written.
    int rebuild(const MonthPeriod &period, const Progress &progress = {});

    // One line per worker with hours rows in the month, by name.
    QList<MonthHoursLine> monthHours(const MonthPeriod &period);

    // The rebuild's statements after the lock, in order, with the
    // parameters :m, :y, :first and :next (the first days of the month and
    // of the next one).
    static QStringList rebuildStatements();
    static QString monthHoursSql();

private:
    DataModule &m_data;
};

} // namespace kordel
