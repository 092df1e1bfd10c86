#pragma once

#include "db/dataset.h"
#include "timesheets/period.h"

#include <memory>

namespace kordel {

class DataModule;

// The month's household-work (7777) or average-piecework (7778) timesheet by
// nomenclature group, and the general payroll by group.
class GroupSheetStore
{
public:
    explicit GroupSheetStore(DataModule &dataModule);
    ~GroupSheetStore();

    // H_Tabel_7777 or H_Tabel_7778; `kind` is 7777 or 7778.
    Dataset &sheet(int kind) const;
    static QString sheetSql(int kind);
    void openSheet(int kind, const MonthPeriod &period) const;

    // H_Tabel: each worker's earnings of the month by group, from the journal
    // and the household records, with and without the regional coefficient.
    Dataset &payroll() const { return *m_payroll; }
    static QString payrollSql();
    void openPayroll(const MonthPeriod &period) const;

private:
    std::unique_ptr<Dataset> m_household;
    std::unique_ptr<Dataset> m_average;
    std::unique_ptr<Dataset> m_payroll;
};

} // namespace kordel
