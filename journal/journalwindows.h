#pragma once

#include "journal/entrywindow.h"
#include "journal/hoursdialog.h"
#include "journal/journaledits.h"

class QWidget;

namespace kordel {

class BooksWindows;
class DataModule;
class JournalContext;

// The windows of the daily journal's own rows, created once: the entry
// window, which picks from the workers and the price list, the hours of a
// hanging row, and the journal's delete, copy and re-time actions.  The
// client and the tests build them through this one class.
class JournalWindows
{
public:
    JournalWindows(DataModule &dataModule, JournalContext &journal, BooksWindows &books,
                   QWidget *parent = nullptr);
    JournalWindows(const JournalWindows &) = delete;
    JournalWindows &operator=(const JournalWindows &) = delete;

    EntryWindow entry; // Form11
    HoursDialog hours; // Form34
    JournalEdits edits;
};

} // namespace kordel
