#include "journal/journaledits.h"

#include "core/datamodule.h"
#include "core/journalcontext.h"
#include "db/dataset.h"
#include "journal/entrywindow.h"
#include "journal/hoursdialog.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

using namespace Qt::StringLiterals;

namespace kordel {

JournalEdits::JournalEdits(DataModule &dataModule, JournalContext &context, EntryWindow &entryWindow,
                           HoursDialog &hoursDialog, QWidget *parent)
    : QObject(parent), m_data(dataModule), m_context(context), m_entry(entryWindow),
      m_hoursDialog(hoursDialog), m_parent(parent), m_store(dataModule)
{}

Dataset &JournalEdits::journal() const
{
    return m_data.journal(m_context.currentShift());
}

void JournalEdits::rereadJournal()
{
    guarded(m_parent, [this] {
        Dataset &rows = journal();
        rows.reopenAt(rows.recNo());
    });
}

void JournalEdits::deleteCurrent()
{
    Dataset &rows = journal();
    if (!rows.isOpen() || !rows.hasCurrent()) {
        rereadJournal();
        return;
    }
    if (!messages::askDelete(m_parent, u"Удалить позицию из списка?"_s)) {
        rereadJournal();
        return;
    }
    const int id = rows.intValue(u"id"_s);
    guarded(m_parent, [&] { m_store.remove(id); });
    rereadJournal();
}

void JournalEdits::copyCurrent()
{
    m_entry.openCopy();
}

void JournalEdits::changeTime()
{
    Dataset &rows = journal();
    const int worker = rows.intValue(u"w_id"_s);
    if (worker <= 0)
        return;
    if (rows.intValue(u"o_id"_s) != EntryStore::kHangingOperation)
        return;
    if (m_hoursDialog.edit(rows.intValue(u"id"_s), worker, rows.intValue(u"time"_s)))
        rereadJournal();
}

} // namespace kordel
