#pragma once

#include "books/kindsstore.h"
#include "books/picks.h"
#include "widgets/listwindow.h"

#include <optional>

class QPushButton;

namespace kordel {

class DataGrid;
class DataModule;
class FilterEdit;
class KindEditWindow;

// The operation kinds book (Form8), "Виды операций (8)".  Opened to pick,
// it offers only the ordinary kinds and hands back the chosen one.
class KindsWindow : public ListWindow
{
    Q_OBJECT

public:
    enum Mode { MenuMode = 0, PickMode = 1 };

    KindsWindow(DataModule &dataModule, KindEditWindow &editWindow, QWidget *parent = nullptr);

    // Menu "Справочники" → "Операции": every kind, reserved ones included.
    void openFromMenu();
    // The price list's pick: the chosen kind, or nothing.  Vid_oper is
    // opened before and closed after, its filter switched off again.
    std::optional<KindPick> pick();

    Mode mode() const { return m_mode; }

    void addKind();
    void changeOrPick();
    void deleteKind();

private:
    void showModal();

    KindsStore m_store;
    KindEditWindow &m_edit;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_exit = nullptr;
    Mode m_mode = MenuMode;
    std::optional<KindPick> m_result;
};

} // namespace kordel
