#include "books/operationeditwindow.h"

#include "books/kindswindow.h"
#include "books/productswindow.h"
#include "core/datamodule.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

OperationEditWindow::OperationEditWindow(DataModule &dataModule, ProductsWindow &products, KindsWindow &kinds,
                                         QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_products(products), m_kinds(kinds), m_store(dataModule)
{
    setObjectName(u"Form10"_s);

    m_product = new QLineEdit(this);
    m_product->setObjectName(u"Edit1"_s);
    m_product->setReadOnly(true);
    m_productButton = makeButton(u"Button3"_s, u"..."_s, this);
    m_kind = new QLineEdit(this);
    m_kind->setObjectName(u"Edit2"_s);
    m_kind->setReadOnly(true);
    m_kindButton = makeButton(u"Button4"_s, u"..."_s, this);
    m_naimen = new QComboBox(this);
    m_naimen->setObjectName(u"ComboBox1"_s);
    m_naimen->addItems({OperationsStore::naimenText(0), OperationsStore::naimenText(1)});

    auto *save = makeButton(u"Button1"_s, u"Записать"_s, this, ButtonRole::Default);
    auto *cancel = makeButton(u"Button2"_s, u"Отмена"_s, this);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(u"Изделие"_s, this), 0, 0);
    fields->addWidget(m_product, 0, 1);
    fields->addWidget(m_productButton, 0, 2);
    fields->addWidget(new QLabel(u"Операция"_s, this), 1, 0);
    fields->addWidget(m_kind, 1, 1);
    fields->addWidget(m_kindButton, 1, 2);
    fields->addWidget(new QLabel(u"Вид"_s, this), 2, 0);
    fields->addWidget(m_naimen, 2, 1, 1, 2);
    fields->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(dialogButtons(save, cancel));
    resize(460, sizeHint().height());

    connect(m_productButton, &QPushButton::clicked, this, &OperationEditWindow::pickProduct);
    connect(m_kindButton, &QPushButton::clicked, this, &OperationEditWindow::pickKind);
    connect(save, &QPushButton::clicked, this, &OperationEditWindow::save);
    // Escape rejects as well.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool OperationEditWindow::addNew()
{
    setWindowTitle(u"Заведение новой цены за операцию (10)"_s);
    m_mode = NewOperation;
    m_operationId = 0;
    m_savedId = 0;
    m_product->clear();
    m_kind->clear();
    m_naimen->setCurrentIndex(0);
    return exec() == QDialog::Accepted;
}

bool OperationEditWindow::change(const Operation &operation)
{
    setWindowTitle(u"Изменение данных о цене за операцию (10)"_s);
    m_mode = ChangeOperation;
    m_operationId = operation.id;
    m_savedId = 0;
    setProduct(operation.productId, operation.mark);
    setKind(operation.kindId, operation.kind);
    m_naimen->setCurrentIndex(operation.naimen == 0 ? 0 : 1);
    return exec() == QDialog::Accepted;
}

void OperationEditWindow::setProduct(int productId, const QString &mark)
{
    m_productId = productId;
    m_product->setText(mark.trimmed());
}

void OperationEditWindow::setKind(int kindId, const QString &name)
{
    m_kindId = kindId;
    m_kind->setText(name.trimmed());
}

void OperationEditWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_productButton->setFocus();
}

void OperationEditWindow::pickProduct()
{
    if (const auto product = m_products.pick())
        setProduct(product->id, product->mark);
}

void OperationEditWindow::pickKind()
{
    const auto kind = m_kinds.pick();
    m_data.vidOper().setFiltered(false);
    if (kind)
        setKind(kind->id, kind->name);
}

void OperationEditWindow::save()
{
    if (m_product->text().trimmed().isEmpty() || m_kind->text().trimmed().isEmpty()) {
        messages::error(this, u"Все поля должны быть заполнены!"_s);
        return;
    }
    const int naimen = m_naimen->currentIndex();
    guarded(this, [&] {
        const int exceptId = m_mode == ChangeOperation ? m_operationId : 0;
        if (!messages::passes(this, m_store.checkUnique(m_kindId, naimen, m_productId, exceptId)))
            return;
        if (m_mode == NewOperation) {
            m_savedId = m_store.insertOperation(m_kindId, naimen, m_productId);
        } else {
            m_store.updateOperation(m_operationId, m_kindId, naimen, m_productId);
            m_savedId = m_operationId;
        }
        accept();
    });
}

} // namespace kordel
