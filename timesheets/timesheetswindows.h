#pragma once

#include "timesheets/shiftsheetwindow.h"

class QWidget;

namespace kordel {

class DataModule;
class JournalContext;

// The monthly timesheet windows, created once and opened from the main
// window's menu "Табель".
class TimesheetsWindows
{
public:
    TimesheetsWindows(DataModule &dataModule, JournalContext &journal, QWidget *parent);

    // "Табель по сменам": the month of the journal's date.
    void openShifts();

    ShiftSheetWindow &shifts() { return m_shifts; }

private:
    JournalContext &m_journal;
    ShiftSheetWindow m_shifts; // Form19
};

} // namespace kordel
