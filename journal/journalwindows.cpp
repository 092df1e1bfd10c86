#include "journal/journalwindows.h"

#include "books/bookswindows.h"

namespace kordel {

JournalWindows::JournalWindows(DataModule &dataModule, JournalContext &journal, BooksWindows &books,
                               QWidget *parent)
    : entry(dataModule, journal, books.workers, books.prices, parent), hours(dataModule, parent),
      edits(dataModule, journal, entry, hours, parent)
{}

} // namespace kordel
