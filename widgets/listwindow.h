#pragma once

#include "widgets/filteredit.h"

#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;

namespace kordel {

class DataGrid;
class Dataset;
struct GridColumn;

// What the lists of the reference books share: the filter field and the
// grid over one dataset, the menu mode and the pick mode with their button
// captions and defaults, the focus on the filter when shown, and going back
// to a record after an edit.
class ListWindow : public QDialog
{
    Q_OBJECT

public:
    enum class ListMode { Menu, Pick };
    ListMode listMode() const { return m_listMode; }

protected:
    explicit ListWindow(QWidget *parent = nullptr);

    // The filter field and the grid over `list`, named as in the form.
    FilterEdit *addFilter(const QString &name, FilterEdit::Keys keys, Dataset &list);
    DataGrid *addGrid(const QString &name, QList<GridColumn> columns, Dataset &list);
    FilterEdit *filterField() const { return m_filter; }
    DataGrid *grid() const { return m_grid; }

    // `choose` reads "Изменить" in the menu and "Выбрать", the default
    // button, in pick mode (in both modes when `defaultInMenu`); `menuOnly`
    // ("Добавить", "Удалить") are usable in the menu only.
    void setModeButtons(QPushButton *choose, QList<QPushButton *> menuOnly, bool defaultInMenu = false);
    void enterMode(ListMode mode);

    // Opens the list (a failure is shown and the window not), runs the
    // window modally and closes the list again.  False when the list could
    // not be opened.
    bool runOver(Dataset &list);
    // Reads the list again and goes back to the row whose `key` is `id`, or
    // when it is gone to the record number `recNo` (0: the first row).
    static void reopenAt(Dataset &list, const QString &key, int id, int recNo);

    void showEvent(QShowEvent *event) override;

private:
    ListMode m_listMode = ListMode::Menu;
    FilterEdit *m_filter = nullptr;
    DataGrid *m_grid = nullptr;
    QPushButton *m_choose = nullptr;
    QList<QPushButton *> m_menuOnly;
    bool m_defaultInMenu = false;
};

} // namespace kordel
