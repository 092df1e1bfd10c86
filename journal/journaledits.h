#pragma once

#include "journal/entrystore.h"

#include <QObject>

class QWidget;

namespace kordel {

class DataModule;
class Dataset;
class EntryWindow;
class HoursDialog;
class JournalContext;

// The journal's row actions that need no full entry: "Удалить", "Копия" and
// "Изменить время".  Each acts on the current row of the current shift's
// journal, keeps the worker's day in the hours timesheet, and reads the
// journal again at the same place.
class JournalEdits : public QObject
{
    Q_OBJECT

public:
    JournalEdits(DataModule &dataModule, JournalContext &context, EntryWindow &entryWindow,
                 HoursDialog &hoursDialog, QWidget *parent);

    void deleteCurrent(); // "Удалить"
    void copyCurrent();   // "Копия"
    void changeTime();    // "Изменить время"

private:
    Dataset &journal() const;
    void rereadJournal();

    DataModule &m_data;
    JournalContext &m_context;
    EntryWindow &m_entry;
    HoursDialog &m_hoursDialog;
    QWidget *m_parent;
    EntryStore m_store;
};

} // namespace kordel
