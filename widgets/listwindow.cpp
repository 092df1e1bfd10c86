#include "widgets/listwindow.h"

#include "db/dataset.h"
#include "widgets/datagrid.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kordel {

ListWindow::ListWindow(QWidget *parent) : QDialog(parent) {}

FilterEdit *ListWindow::addFilter(const QString &name, FilterEdit::Keys keys, Dataset &list)
{
    m_filter = makeFilter(name, keys, list, this);
    return m_filter;
}

DataGrid *ListWindow::addGrid(const QString &name, QList<GridColumn> columns, Dataset &list)
{
    m_grid = makeGrid(name, std::move(columns), list, this);
    return m_grid;
}

void ListWindow::setModeButtons(QPushButton *choose, QList<QPushButton *> menuOnly, bool defaultInMenu)
{
    m_choose = choose;
    m_menuOnly = std::move(menuOnly);
    m_defaultInMenu = defaultInMenu;
}

void ListWindow::enterMode(ListMode mode)
{
    m_listMode = mode;
    const bool pick = mode == ListMode::Pick;
    if (m_choose) {
        m_choose->setText(pick ? u"Выбрать"_s : u"Изменить"_s);
        m_choose->setDefault(pick || m_defaultInMenu);
    }
    for (QPushButton *button : std::as_const(m_menuOnly))
        button->setEnabled(!pick);
}

bool ListWindow::runOver(Dataset &list)
{
    if (!guarded(this, [&list] { list.open(); }))
        return false;
    exec();
    list.close();
    return true;
}

void ListWindow::reopenAt(Dataset &list, const QString &key, int id, int recNo)
{
    list.open();
    if (id > 0 && list.locate(key, id))
        return;
    if (recNo > 0)
        list.setRecNo(recNo);
}

void ListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_filter && m_filter->isVisible())
        m_filter->setFocus();
}

} // namespace kordel
