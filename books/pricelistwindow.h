#pragma once

#include "books/operationsstore.h"
#include "books/picks.h"
#include "widgets/listwindow.h"

#include <QString>
#include <optional>

class QCheckBox;
class QPushButton;

namespace kordel {

class DataGrid;
class DataModule;
class FilterEdit;
class NormWindow;
class OperationEditWindow;

// The price list (Form4): the operations with their smallest norm price.
// From the menu it edits operations and, with "Цены" ticked, their norm rows;
// the entry window opens it to pick the operation of a journal entry.
class PriceListWindow : public ListWindow
{
    Q_OBJECT

public:
    PriceListWindow(DataModule &dataModule, OperationEditWindow &editWindow, NormWindow &normWindow,
                    QWidget *parent = nullptr);

    // Menu mode: every operation, also those still without a norm row.
    void openFromMenu();
    // Pick mode over the caller's variant of the list: positioned on
    // `locateOperationId` (0: the first row).  Empty when the user leaves
    // without picking.
    std::optional<OperationPick> pick(OperationList list, int locateOperationId, bool dayOff, int shift);

    // Where "Excel" saves its workbooks; empty (the default) means the
    // writer's own folder.  Tests point it at a folder of their own.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    bool isPickMode() const { return m_pickMode; }

    // The buttons, also for the keyboard and tests.
    void addOperation();    // "Добавить"
    void changeOrPick();    // "Изменить" / "Выбрать"
    void deleteOperation(); // "Удалить"
    void exportToExcel();   // "Excel"
    void openNorms();       // double-click with "Цены" ticked

private:
    void applyFilter(const QString &text);
    void gridDoubleClicked();
    void makePick();

    DataModule &m_data;
    OperationEditWindow &m_edit;
    NormWindow &m_norms;
    OperationsStore m_store;

    FilterEdit *m_filter = nullptr;
    DataGrid *m_grid = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_excel = nullptr;
    QPushButton *m_exit = nullptr;
    QCheckBox *m_prices = nullptr;

    bool m_pickMode = false;
    bool m_dayOff = false;
    int m_shift = 1;
    std::optional<OperationPick> m_pick;
    QString m_exportFolder;
};

} // namespace kordel
