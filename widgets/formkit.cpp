#include "widgets/formkit.h"

#include "widgets/datagrid.h"
#include "widgets/guarded.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <utility>

namespace kordel {

QPushButton *makeButton(const QString &name, const QString &text, QWidget *parent, ButtonRole role)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    if (role == ButtonRole::Default)
        button->setDefault(true);
    else
        button->setAutoDefault(false);
    return button;
}

QHBoxLayout *dialogButtons(QPushButton *accept, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(accept);
    row->addWidget(cancel);
    return row;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> left, QPushButton *right)
{
    auto *row = new QHBoxLayout;
    for (QPushButton *button : left)
        row->addWidget(button);
    row->addStretch();
    if (right)
        row->addWidget(right);
    return row;
}

FilterEdit *makeFilter(const QString &name, FilterEdit::Keys keys, Dataset &list, QWidget *parent)
{
    auto *filter = new FilterEdit(keys, parent);
    filter->setObjectName(name);
    filter->setDataset(&list);
    return filter;
}

DataGrid *makeGrid(const QString &name, QList<GridColumn> columns, Dataset &list, QWidget *parent)
{
    auto *grid = new DataGrid(std::move(columns), parent);
    grid->setObjectName(name);
    grid->setDataset(&list);
    return grid;
}

void reopenAfter(QWidget *window, Dataset &list, const std::function<bool()> &edit)
{
    const int recNo = list.recNo();
    if (edit())
        guarded(window, [&] { list.reopenAt(recNo); });
}

} // namespace kordel
