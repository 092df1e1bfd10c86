#pragma once

#include "reports/reportstore.h"
#include "widgets/report.h"

namespace kordel::reports {

// The four printed period reports as report tables: the rows of the store
// grouped, totalled in exact decimals and formatted.  One computation for
// the preview, the printer, PDF and the workbook.

// "   <name> за период с 01.12.2024 по 01.01.2025" (three leading blanks).
QString reportTitle(const QString &name, const Period &period);

report::Report workerDetailReport(const QList<WorkerDetailRow> &rows, const HouseholdTotals &all,
                                  const Period &period);
report::Report productDetailReport(const QList<ProductDetailRow> &rows, const Period &period);
report::Report workerSummaryReport(const QList<WorkerSummaryRow> &rows, const HouseholdTotals &all,
                                   const Period &period);
report::Report productSummaryReport(const QList<ProductSummaryRow> &rows, const Period &period);

// The masks "#0.00" and "#0.000": rounded half away from zero.
QString masked(const Decimal &value, int decimals);
// The amount without the district coefficient (÷ 1.2), rounded at the end.
QString withoutCoefficient(const Decimal &value, int decimals);
// The printed product report's colour: " (грунт)", " (RAL: N)" or " ".
QString colourText(int color);
// The workbook's operation: the name, then " (грунт)" or " (цвет: N)".
QString workbookOperation(const QString &vid, int color);

} // namespace kordel::reports
