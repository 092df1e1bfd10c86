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
    : QDialog(parent), m_store(dataModule), m_edit(editWindow)
{
    setObjectName(u"Form8"_s);
    setWindowTitle(u"Виды операций (8)"_s);

    auto *layout = new QVBoxLayout(this);
    // Never shown: clearing it for a pick sets the list's filter.
    m_filter = makeFilter(u"Edit1"_s, FilterEdit::Keys::ConsumeKeyDown, m_store.kinds(), this);
    m_filter->setVisible(false);
    layout->addWidget(m_filter);

    m_grid = makeGrid(u"DBGrid1"_s, {{u"vid"_s, u"Операции"_s}}, m_store.kinds(), this);
    layout->addWidget(m_grid);

    m_add = makeButton(u"Button1"_s, u"Добавить"_s, this);
    m_change = makeButton(u"Button2"_s, u"Изменить"_s, this);
    m_delete = makeButton(u"Button3"_s, u"Удалить"_s, this);
    m_exit = makeButton(u"Button4"_s, u"Выход"_s, this);
    layout->addLayout(buttonRow({m_add, m_change, m_delete}, m_exit));

    connect(m_filter, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_store.setPickFilter(text); });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &KindsWindow::changeOrPick);
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
    m_change->setDefault(false);
    m_change->setText(u"Изменить"_s);
    m_change->setEnabled(true);
    m_add->setEnabled(true);
    m_delete->setEnabled(true);
    showModal();
    m_store.kinds().close();
}

std::optional<KindPick> KindsWindow::pick()
{
    m_mode = PickMode;
    m_result.reset();
    if (!guarded(this, [this] { m_store.kinds().open(); }))
        return std::nullopt;
    m_change->setText(u"Выбрать"_s);
    m_change->setDefault(true);
    m_change->setEnabled(true);
    m_add->setEnabled(false);
    m_delete->setEnabled(false);
    // Clearing the field sets the pick filter, even when it was empty.
    m_filter->clear();
    m_store.setPickFilter(m_filter->text());
    showModal();
    // Vid_oper is shared with the price list, which lists every kind.
    m_store.switchFilterOff();
    m_store.kinds().close();
    return m_result;
}

void KindsWindow::showModal()
{
    m_grid->setFocus();
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
