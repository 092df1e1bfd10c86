#include "books/productswindow.h"

#include "books/producteditwindow.h"
#include "books/productsstore.h"
#include "core/datamodule.h"
#include "db/decimal.h"
#include "widgets/datagrid.h"
#include "widgets/filteredit.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

using namespace Qt::StringLiterals;

namespace kordel {

ProductsWindow::ProductsWindow(DataModule &dataModule, ProductEditWindow &editor, QWidget *parent)
    : ListWindow(parent), m_data(dataModule), m_editor(editor),
      m_store(std::make_unique<ProductsStore>(dataModule))
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"Изделия (3)"_s);

    DataGrid *list =
        addGrid(u"DBGrid1"_s,
                {{u"marka"_s, u"Марка изделия"_s},
                 {u"nom"_s, u"Номенклатурная группа"_s},
                 {u"massa"_s, u"Коробки"_s, Qt::AlignLeft | Qt::AlignVCenter, false, formats::number}},
                m_store->products());
    list->setColumnWidth(0, 220);
    list->setColumnWidth(1, 220);

    FilterEdit *filter = addFilter(u"Edit1"_s, FilterEdit::Keys::ArrowsOnly, m_store->products());

    m_add = makeButton(u"Button1"_s, u"Добавить"_s, this);
    m_change = makeButton(u"Button2"_s, u"Изменить"_s, this);
    m_delete = makeButton(u"Button3"_s, u"Удалить"_s, this);
    auto *exit = makeButton(u"Button4"_s, u"Выход"_s, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(list);
    layout->addLayout(buttonRow({m_add, m_change, m_delete}, exit));
    resize(640, 480);

    setModeButtons(m_change, {m_add, m_delete});
    connect(filter, &QLineEdit::textChanged, this, &ProductsWindow::applyFilter);
    connect(m_add, &QPushButton::clicked, this, &ProductsWindow::addProduct);
    connect(m_change, &QPushButton::clicked, this, &ProductsWindow::changeProduct);
    connect(list, &DataGrid::rowDoubleClicked, this, &ProductsWindow::changeProduct);
    connect(m_delete, &QPushButton::clicked, this, &ProductsWindow::deleteProduct);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

ProductsWindow::~ProductsWindow() = default;

void ProductsWindow::openFromMenu()
{
    m_mode = MenuMode;
    m_picked.reset();
    enterMode(ListMode::Menu);
    runOver(m_store->products());
}

std::optional<ProductPick> ProductsWindow::pick()
{
    m_mode = PickMode;
    m_picked.reset();
    enterMode(ListMode::Pick);
    filterField()->setEnabled(true);
    filterField()->clear();
    runOver(m_store->products());
    m_change->setDefault(false);
    m_mode = MenuMode;
    return std::exchange(m_picked, std::nullopt);
}

void ProductsWindow::applyFilter(const QString &text)
{
    Dataset &products = m_store->products();
    products.applyFilter(text.isEmpty() ? Dataset::Filter() : filters::beginsWith(u"marka"_s, text));
}

void ProductsWindow::addProduct()
{
    if (m_mode != MenuMode)
        return;
    reopenAfter(this, m_store->products(), [this] { return m_editor.addProduct(); });
}

void ProductsWindow::changeProduct()
{
    Dataset &products = m_store->products();
    if (!products.hasCurrent())
        return;
    const int id = products.intValue(u"id"_s);
    if (ProductsStore::isReserved(id))
        return;

    if (m_mode == PickMode) {
        m_picked = ProductPick{id, products.text(u"marka"_s).trimmed()};
        accept();
        return;
    }

    const QVariant massa = products.value(u"massa"_s);
    const QString massaText = massa.isNull() ? QString() : Decimal::fromVariant(massa).toString();
    reopenAfter(this, products, [&] {
        return m_editor.changeProduct(id, products.text(u"marka"_s).trimmed(), massaText,
                                      products.intValue(u"id_class_item"_s));
    });
}

void ProductsWindow::deleteProduct()
{
    if (m_mode != MenuMode)
        return;
    Dataset &products = m_store->products();
    if (!products.hasCurrent())
        return;
    const int id = products.intValue(u"id"_s);
    if (ProductsStore::isReserved(id))
        return;
    guarded(this, [&] {
        const ProductsStore::DeletePlan plan = m_store->deletePlan(id);
        if (!plan.allowed)
            return;
        ProductsStore::DeleteAnswers answers;
        // Either answer goes on to the product itself.
        if (plan.operations > 0)
            answers.operations =
                messages::askDelete(this, u"По изделию есть расценки они будут удалены!!!"_s);
        answers.product = messages::askDelete(
            this, plan.journalRows > 0
                      ? u"По изделию есть операции в текущем, предыдущем месяцах и ранее, они будут "
                        "удалены. Удалить изделие? "_s
                      : u"Удалить изделие? "_s);
        if (m_store->remove(id, answers))
            products.open();
    });
}

} // namespace kordel
