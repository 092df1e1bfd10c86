#include "books/kindswindow.h"

#include "books/kindeditwindow.h"
#include "core/datamodule.h"
#include "widgets/datagrid.h"
#include "widgets/filteredit.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
KindsWindow::KindsWindow(DataModule &dataModule, KindEditWindow &editWindow, QWidget *parent)
    : ListWindow(parent), m_store(dataModule), m_edit(editWindow)
{
    setObjectName(u"Form8"_s);
    setWindowTitle(u"Виды операций (8)"_s);

    auto *layout = new QVBoxLayout(this);
    // Never shown: clearing it for a pick sets the list's filter.
    FilterEdit *filter = addFilter(u"Edit1"_s, FilterEdit::Keys::ConsumeKeyDown, m_store.kinds());
    filter->setVisible(false);
    layout->addWidget(filter);

    DataGrid *list = addGrid(u"DBGrid1"_s, {{u"vid"_s, u"Операции"_s}}, m_store.kinds());
    layout->addWidget(list);

    m_add = makeButton(u"Button1"_s, u"Добавить"_s, this);
    m_change = makeButton(u"Button2"_s, u"Изменить"_s, this);
    m_delete = makeButton(u"Button3"_s, u"Удалить"_s, this);
    m_exit = makeButton(u"Button4"_s, u"Выход"_s, this);
    layout->addLayout(buttonRow({m_add, m_change, m_delete}, m_exit));

    setModeButtons(m_change, {m_add, m_delete});
    connect(filter, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_store.setPickFilter(text); });
    connect(list, &DataGrid::rowDoubleClicked, this, &KindsWindow::changeOrPick);
    connect(m_add, &QPushButton::clicked, this, &KindsWindow::addKind);
    connect(m_change, &QPushButton::clicked, this, &KindsWindow::changeOrPick);
    connect(m_delete, &QPushButton::clicked, this, &KindsWindow::deleteKind);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    resize(480, 480);
}

void KindsWindow::openFromMenu()
{
    m_mode = MenuMode;
    m_result.reset();
    m_store.switchFilterOff();
    if (!guarded(this, [this] { m_store.kinds().open(); }))
        return;
    enterMode(ListMode::Menu);
    m_change->setEnabled(true);
    showModal();
    m_store.kinds().close();
}

std::optional<KindPick> KindsWindow::pick()
{
    m_mode = PickMode;
    m_result.reset();
    if (!guarded(this, [this] { m_store.kinds().open(); }))
        return std::nullopt;
    enterMode(ListMode::Pick);
    m_change->setEnabled(true);
    // Clearing the field sets the pick filter, even when it was empty.
    filterField()->clear();
    m_store.setPickFilter(filterField()->text());
    showModal();
    // Vid_oper is shared with the price list, which lists every kind.
    m_store.switchFilterOff();
    m_store.kinds().close();
    return m_result;
}

void KindsWindow::showModal()
{
    grid()->setFocus();
    exec();
}

void KindsWindow::addKind()
{
    m_edit.prepareNew();
    m_edit.exec();
}

void KindsWindow::changeOrPick()
{
    Dataset &list = m_store.kinds();
    if (!list.hasCurrent())
        return;
    const int id = list.intValue(u"id"_s);
    if (KindsStore::isLockedForChange(id))
        return;
    const QString name = list.text(u"vid"_s).trimmed();
    if (m_mode == PickMode) {
        m_result = KindPick{id, name};
        accept();
        return;
    }
    m_edit.prepareChange(id, name);
    m_edit.exec();
}

void KindsWindow::deleteKind()
{
    Dataset &list = m_store.kinds();
    if (!list.hasCurrent())
        return;
    const int id = list.intValue(u"id"_s);
    if (KindsStore::isLockedForDelete(id))
        return;
    guarded(this, [&] {
        if (!messages::passes(this, m_store.checkDelete(id)))
            return;
        if (!messages::askDelete(this, u"Удалить вид операции?"_s))
            return;
        const Check removed = m_store.remove(id);
        list.open();
        messages::passes(this, removed);
    });
}

} // namespace kordel
