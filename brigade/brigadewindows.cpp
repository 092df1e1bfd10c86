#include "brigade/brigadewindows.h"

#include "brigade/distributionwindow.h"
#include "core/journalcontext.h"
#include "widgets/guarded.h"

namespace kordel {

BrigadeWindows::BrigadeWindows(DataModule &dataModule, JournalContext &journal, WorkersWindow &workers,
                               QWidget *parent)
    : m_journal(journal), m_window(std::make_unique<DistributionWindow>(dataModule, journal, workers, parent))
{}

BrigadeWindows::~BrigadeWindows() = default;

void BrigadeWindows::openBrigade()
{
    m_window->open(Distribution::Brigade);
    rereadJournal();
}

void BrigadeWindows::openPainting()
{
    m_window->open(Distribution::Painting);
    rereadJournal();
}

void BrigadeWindows::rereadJournal()
{
    Dataset &journal = m_journal.currentJournal();
    if (journal.isOpen())
        guarded(m_window->parentWidget(), [&] { journal.reopenAt(journal.isEmpty() ? 0 : journal.recNo()); });
}

} // namespace kordel
