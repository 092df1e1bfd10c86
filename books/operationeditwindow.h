#pragma once

#include "books/operationsstore.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kordel {

class KindsWindow;
class ProductsWindow;

// The operation edit window (Form10): product and operation kind, each
// chosen through its book, and finished product or blank.
class OperationEditWindow : public QDialog
{
    Q_OBJECT

public:
    enum Mode { NewOperation = 1, ChangeOperation = 2 };

    // The operation being changed, as the list shows it.
    struct Operation
    {
        int id = 0;
        int productId = 0;
        QString mark;
        int kindId = 0;
        QString kind;
        int naimen = 0;
    };

    OperationEditWindow(DataModule &dataModule, ProductsWindow &products, KindsWindow &kinds,
                        QWidget *parent = nullptr);

    // "Добавить": empty fields, "Готовая продукция".  True when saved; the
    // new operation's id is then savedOperationId().
    bool addNew();
    // "Изменить" of an operation of the list.  True when saved.
    bool change(const Operation &operation);
    int savedOperationId() const { return m_savedId; }
    Mode mode() const { return m_mode; }

    // What the pickers fill in.
    void setProduct(int productId, const QString &mark);
    void setKind(int kindId, const QString &name);

    void pickProduct(); // "..." beside the product
    void pickKind();    // "..." beside the kind
    void save();        // "Записать"

protected:
    void showEvent(QShowEvent *event) override;

private:
    DataModule &m_data;
    ProductsWindow &m_products;
    KindsWindow &m_kinds;
    OperationsStore m_store;

    QLineEdit *m_product = nullptr;
    QLineEdit *m_kind = nullptr;
    QPushButton *m_productButton = nullptr;
    QPushButton *m_kindButton = nullptr;
    QComboBox *m_naimen = nullptr;

    Mode m_mode = NewOperation;
    int m_operationId = 0;
    int m_productId = 0;
    int m_kindId = 0;
    int m_savedId = 0;
};

} // namespace kordel
