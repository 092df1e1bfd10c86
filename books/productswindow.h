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
class ProductEditWindow;
class ProductsStore;

// The products book (Form3): the data module's Izdel with a filter by the
// beginning of the mark.  Opened from the menu to keep the book, or by the
// price list's operation edit window to pick the product of an operation.
class ProductsWindow : public ListWindow
{
    Q_OBJECT

public:
    enum Mode { MenuMode = 0, PickMode = 1 };

    ProductsWindow(DataModule &dataModule, ProductEditWindow &editor, QWidget *parent = nullptr);
    ~ProductsWindow() override;

    // Menu "Справочники" -> "Изделия": Izdel is opened before and closed after.
    void openFromMenu();
    // "Выбрать" or a double-click hands back the current product; nothing
    // when the window is closed otherwise.  Reserved products cannot be picked.
    std::optional<ProductPick> pick();

    Mode mode() const { return m_mode; }

    // "Добавить", "Изменить"/"Выбрать", "Удалить".
    void addProduct();
    void changeProduct();
    void deleteProduct();

private:
    void applyFilter(const QString &text);

    DataModule &m_data;
    ProductEditWindow &m_editor;
    std::unique_ptr<ProductsStore> m_store;
    Mode m_mode = MenuMode;
    std::optional<ProductPick> m_picked;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
};

} // namespace kordel
