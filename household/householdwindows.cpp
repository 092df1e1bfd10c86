#include "household/householdwindows.h"

#include "household/householdentrywindow.h"
#include "household/householdjournalwindow.h"
#include "household/householdstore.h"

namespace kordel {

HouseholdWindows::HouseholdWindows(DataModule &dataModule, WorkersWindow &workers, GroupsWindow &groups,
                                   QWidget *parent)
    : m_store(std::make_unique<HouseholdStore>(dataModule)),
      m_entry(std::make_unique<HouseholdEntryWindow>(dataModule, *m_store, workers, groups, parent)),
      m_journal(std::make_unique<HouseholdJournalWindow>(*m_store, *m_entry, parent))
{}

HouseholdWindows::~HouseholdWindows() = default;

void HouseholdWindows::openJournal(const QDate &date)
{
    m_journal->open(date);
}

} // namespace kordel
