#pragma once

#include <QDialog>
#include <memory>

class QComboBox;
class QLineEdit;

namespace kordel {

class DataModule;
class ProductsStore;

// The product edit window (Form7): mark, "Расценка" (the boxes per piece,
// massa) and the nomenclature group.  The caller chooses the mode.
class ProductEditWindow : public QDialog
{
    Q_OBJECT

public:
    enum Mode { NewProduct = 1, ChangeProduct = 2 };

    explicit ProductEditWindow(DataModule &dataModule, QWidget *parent = nullptr);
    ~ProductEditWindow() override;

    // Shows the window modally for a new product; true when one was written.
    // The group chosen last time is offered again.
    bool addProduct();
    // Shows the window modally for the product `id`; true when it was written.
    bool changeProduct(int id, const QString &mark, const QString &massa, int groupId);

    Mode mode() const { return m_mode; }

    // "Записать": checks the fields, writes and closes; stays open on a refusal.
    void save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool run();
    void openGroups();
    void selectGroup(int groupId);
    int chosenGroup() const;

    DataModule &m_data;
    std::unique_ptr<ProductsStore> m_store;
    Mode m_mode = NewProduct;
    int m_id = 0;
    int m_lastGroup = 0;
    QLineEdit *m_mark = nullptr;
    QLineEdit *m_massa = nullptr;
    QComboBox *m_group = nullptr;
};

} // namespace kordel
