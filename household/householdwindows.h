#pragma once

#include <QDate>
#include <memory>

class QWidget;

namespace kordel {

class DataModule;
class GroupsWindow;
class HouseholdEntryWindow;
class HouseholdJournalWindow;
class HouseholdStore;
class WorkersWindow;

// The household works windows as the client creates them once: the journal
// (Form25) and its entry window (Form24), with the books they pick from.
class HouseholdWindows
{
public:
    HouseholdWindows(DataModule &dataModule, WorkersWindow &workers, GroupsWindow &groups, QWidget *parent);
    ~HouseholdWindows();

    // "Ср.сд./хоз. работы" of the daily journal.
    void openJournal(const QDate &date);

    HouseholdStore &store() const { return *m_store; }
    HouseholdEntryWindow &entry() const { return *m_entry; }
    HouseholdJournalWindow &journal() const { return *m_journal; }

private:
    std::unique_ptr<HouseholdStore> m_store;
    std::unique_ptr<HouseholdEntryWindow> m_entry;
    std::unique_ptr<HouseholdJournalWindow> m_journal;
};

} // namespace kordel
