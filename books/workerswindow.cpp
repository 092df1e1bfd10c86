#include "books/workerswindow.h"

#include "books/hoursprompt.h"
#include "books/workereditwindow.h"
#include "core/datamodule.h"
#include "widgets/datagrid.h"
#include "widgets/filteredit.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
WorkersWindow::WorkersWindow(DataModule &dataModule, WorkerEditWindow &editWindow, HoursPrompt &hoursPrompt,
                             QWidget *parent)
    : ListWindow(parent), m_store(dataModule), m_edit(editWindow), m_hours(hoursPrompt)
{
    setObjectName(u"Form5"_s);
    setWindowTitle(u"Список рабочих"_s);

    auto *layout = new QVBoxLayout(this);
    m_filter = addFilter(u"Edit1"_s, FilterEdit::Keys::ConsumeKeyDown, m_store.workers());
    layout->addWidget(m_filter);

    m_grid = addGrid(u"DBGrid1"_s, {{u"fio"_s, u"ФИО"_s}, {u"s_staffpos_hl"_s, u"Должность"_s}},
                     m_store.workers());
    layout->addWidget(m_grid);

    m_add = makeButton(u"Button1"_s, u"Добавить"_s, this);
    m_change = makeButton(u"Button2"_s, u"Изменить"_s, this);
    m_delete = makeButton(u"Button3"_s, u"Удалить"_s, this);
    m_exit = makeButton(u"Button4"_s, u"Выход"_s, this);
    layout->addLayout(buttonRow({m_add, m_change, m_delete}, m_exit));

    // "Добавить" follows the pick mode on its own (see pick()).
    setModeButtons(m_change, {m_delete});
    connect(m_filter, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &WorkersWindow::changeOrPick);
    connect(m_add, &QPushButton::clicked, this, &WorkersWindow::addWorker);
    connect(m_change, &QPushButton::clicked, this, &WorkersWindow::changeOrPick);
    connect(m_delete, &QPushButton::clicked, this, &WorkersWindow::deleteWorker);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 480);
}

void WorkersWindow::applyFilter()
{
    m_store.setNameFilter(m_filter->text());
}

void WorkersWindow::openFromMenu()
{
    m_mode = MenuMode;
    m_result.reset();
    if (!guarded(this, [this] { m_store.workers().open(); }))
        return;
    enterMode(ListMode::Menu);
    m_change->setEnabled(true);
    m_add->setEnabled(true);
    // The filter typed last time still holds; Workers is shared, so apply
    // it again rather than trust what others left.
    applyFilter();
    showModal();
    m_store.workers().close();
}

std::optional<WorkerPick> WorkersWindow::pick(Mode mode)
{
    m_mode = mode;
    m_result.reset();
    if (!guarded(this, [this] { m_store.workers().open(); }))
        return std::nullopt;
    enterMode(ListMode::Pick);
    m_change->setEnabled(true);
    // An auxiliary worker pick leaves "Добавить" as the last opening set it.
    if (mode != AuxiliaryWorker)
        m_add->setEnabled(false);
    m_filter->setEnabled(true);
    m_filter->clear();
    applyFilter();
    showModal();
    m_store.workers().close();
    return m_result;
}

void WorkersWindow::showModal()
{
    m_picked = false;
    m_filter->setFocus();
    exec();
}

void WorkersWindow::addWorker()
{
    if (!guarded(this, [this] { m_edit.prepareNew(); }))
        return;
    m_edit.exec();
    guarded(this, [this] { m_store.workers().open(); });
}

void WorkersWindow::changeOrPick()
{
    m_picked = true;
    Dataset &list = m_store.workers();
    if (!list.hasCurrent())
        return;
    const int recNo = list.recNo();
    const int id = list.intValue(u"id"_s);
    const QString name = list.text(u"fio"_s).trimmed();
    const QString position = list.text(u"s_staffpos_hl"_s);

    if (m_mode == MenuMode) {
        if (!guarded(this, [&] { m_edit.prepareChange(id, name, position); })) {
            m_picked = false;
            return;
        }
        m_edit.exec();
        guarded(this, [&] { list.reopenAt(recNo); });
    } else {
        WorkerPick chosen{id, name, 0};
        if (m_mode == AuxiliaryWorker) {
            const std::optional<int> hours = m_hours.ask(name);
            if (hours)
                chosen.hours = *hours;
            else
                m_picked = false;
        }
        if (m_picked)
            m_result = chosen;
    }
    // After a change from the menu the list closes as well; a cancelled
    // hours prompt keeps it open for another choice.
    if (m_picked)
        accept();
}

void WorkersWindow::deleteWorker()
{
    Dataset &list = m_store.workers();
    if (!list.hasCurrent())
        return;
    if (!messages::askDelete(this, u"Удалить работника?"_s))
        return;
    const int recNo = list.recNo();
    const int id = list.intValue(u"id"_s);
    guarded(this, [&] {
        m_store.remove(id);
        list.reopenAt(recNo);
    });
}

} // namespace kordel
