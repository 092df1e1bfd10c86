#include "timesheets/timesheetswindows.h"

#include "core/journalcontext.h"

namespace kordel {

TimesheetsWindows::TimesheetsWindows(DataModule &dataModule, JournalContext &journal, QWidget *parent)
    : m_journal(journal), m_shifts(dataModule, parent)
{}

void TimesheetsWindows::openShifts()
{
    m_shifts.openForMonth(m_journal.journalDate());
}

} // namespace kordel
