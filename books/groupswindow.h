#pragma once

#include "books/picks.h"
#include "widgets/listwindow.h"

#include <memory>
#include <optional>

class QPushButton;

namespace kordel {

class DataGrid;
class DataModule;
class FilterEdit;
class GroupEditWindow;
class GroupsStore;

// The nomenclature groups book (Form26).  Opened from the menu to keep the
// groups, or by the household work entry window to pick a group in use.
class GroupsWindow : public ListWindow
{
    Q_OBJECT

public:
    enum Mode { MenuMode = 0, HouseholdPick = 24 };

    GroupsWindow(DataModule &dataModule, GroupEditWindow &editor, QWidget *parent = nullptr);
    ~GroupsWindow() override;

    // Menu "Справочники" -> "Ном. группы".
    void openFromMenu();
    // Only groups in use are offered; "Выбрать" or a double-click hands back
    // the current group, nothing when the window is closed otherwise.
    std::optional<GroupPick> pick();

    Mode mode() const { return m_mode; }

    // "Удалить", "Добавить", "Изменить"/"Выбрать".
    void deleteGroup();
    void addGroup();
    void changeGroup();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyFilter();
    bool openList();

    DataModule &m_data;
    GroupEditWindow &m_editor;
    std::unique_ptr<GroupsStore> m_store;
    Mode m_mode = MenuMode;
    std::optional<GroupPick> m_picked;
    FilterEdit *m_filter = nullptr;
    DataGrid *m_grid = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
};

} // namespace kordel
