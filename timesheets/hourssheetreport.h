#pragma once

#include "timesheets/shiftsheetstore.h"
#include "widgets/report.h"

#include <functional>

namespace kordel {

class ExcelWriter;

// The printed monthly hours timesheet (Form15): A4 landscape, the period
// heading every page over the day numbers and "Итого", one line per worker
// with his hours of each day and the month's total.
report::Report hoursSheetReport(const MonthPeriod &period, const QList<MonthHoursLine> &lines);

// The same month on the workbook's first sheet: the period in row 1, the
// column titles in row 2, then one row per worker.  `rowWritten` is told
// the rows written so far after each worker (and 0 before the first).
// Returns false when the workbook could not be started or saved; the writer
// has told the user why.
bool writeHoursSheet(ExcelWriter &writer, const MonthPeriod &period, const QList<MonthHoursLine> &lines,
                     const std::function<void(int written)> &rowWritten = {});

} // namespace kordel
