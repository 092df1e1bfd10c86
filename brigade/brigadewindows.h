#pragma once

#include <memory>

class QWidget;

namespace kordel {

class DataModule;
class DistributionWindow;
class JournalContext;
class WorkersWindow;

// The distribution windows as the client creates them once: Form33 with its
// operation pick (Form134) and average-piecework pick (Form135).
class BrigadeWindows
{
public:
    BrigadeWindows(DataModule &dataModule, JournalContext &journal, WorkersWindow &workers, QWidget *parent);
    ~BrigadeWindows();

    // "Бригада" and "Покраска" of the daily journal.  When the window
    // returns, the journal's current shift is read again at its record.
    void openBrigade();
    void openPainting();

    DistributionWindow &window() const { return *m_window; }

private:
    void rereadJournal();

    JournalContext &m_journal;
    std::unique_ptr<DistributionWindow> m_window;
};

} // namespace kordel
