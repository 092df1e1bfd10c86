#pragma once

#include "books/picks.h"
#include "books/workersstore.h"
#include "widgets/listwindow.h"

#include <optional>

class QPushButton;

namespace kordel {

class DataGrid;
class DataModule;
class FilterEdit;
class HoursPrompt;
class WorkerEditWindow;

// The workers list (Form5), "Список рабочих": from the menu it keeps the
// worker book; opened by another window it hands back the chosen worker.
class WorkersWindow : public ListWindow
{
    Q_OBJECT

public:
    // The opener of a pick: 1 the worker of an entry, 11 an auxiliary worker
    // of an entry (asks the hours too), 24 a household work, 33 a brigade
    // distribution.
    enum Mode {
        MenuMode = 0,
        EntryWorker = 1,
        AuxiliaryWorker = 11,
        HouseholdWorker = 24,
        DistributionWorker = 33
    };

    WorkersWindow(DataModule &dataModule, WorkerEditWindow &editWindow, HoursPrompt &hoursPrompt,
                  QWidget *parent = nullptr);

    // Menu "Справочники" → "Рабочие": the book with adding, changing and
    // deleting.  Workers is opened before and closed after.
    void openFromMenu();
    // Shows the list modally for a pick; the chosen worker, or nothing when
    // the list was left without a choice.
    std::optional<WorkerPick> pick(Mode mode);

    Mode mode() const { return m_mode; }
    // Whether the last "Изменить"/"Выбрать" went through (cleared on
    // activation and by a cancelled hours prompt).
    bool picked() const { return m_picked; }

    // Button actions, also reached by the keyboard and a double-click.
    void addWorker();
    void changeOrPick();
    void deleteWorker();

private:
    void showModal();
    void applyFilter();

    WorkersStore m_store;
    WorkerEditWindow &m_edit;
    HoursPrompt &m_hours;
    FilterEdit *m_filter = nullptr;
    DataGrid *m_grid = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_exit = nullptr;
    Mode m_mode = MenuMode;
    bool m_picked = false;
    std::optional<WorkerPick> m_result;
};

} // namespace kordel
