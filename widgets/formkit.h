#pragma once

// The pieces every window builds the same way: named buttons that Enter
// presses only when they are the default, the bottom rows of buttons, the
// filter field and the grid of a list window, and the list read again after
// an edit.

#include "db/dataset.h"
#include "widgets/filteredit.h"

#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace kordel {

class DataGrid;
struct GridColumn;

enum class ButtonRole {
    Plain,   // Enter never presses it (autoDefault off)
    Default, // the window's default button, pressed by Enter
};

QPushButton *makeButton(const QString &name, const QString &text, QWidget *parent,
                        ButtonRole role = ButtonRole::Plain);

// An edit window's bottom row: a stretch, then the accepting button and the
// cancel button on the right.
QHBoxLayout *dialogButtons(QPushButton *accept, QPushButton *cancel);

// A list window's bottom row: `left` in order, a stretch, then `right`
// ("Выход") when there is one.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> left, QPushButton *right = nullptr);

// The filter field of a list window over `list`.
FilterEdit *makeFilter(const QString &name, FilterEdit::Keys keys, Dataset &list, QWidget *parent);

// The grid of a list window over `list`.
DataGrid *makeGrid(const QString &name, QList<GridColumn> columns, Dataset &list, QWidget *parent);

// Runs an edit window opened from a list; when it wrote, the list is read
// again and put back at the record number it had before.
void reopenAfter(QWidget *window, Dataset &list, const std::function<bool()> &edit);

} // namespace kordel
