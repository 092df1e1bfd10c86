#include "books/pricelistwindow.h"

#include "books/normwindow.h"
#include "books/operationeditwindow.h"
#include "core/datamodule.h"
#include "widgets/datagrid.h"
#include "widgets/excelwriter.h"
#include "widgets/filteredit.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

QList<GridColumn> priceListColumns()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    return {
        {u"MARKA"_s, u"Марка"_s},
        {u"s_caption"_s, u"Ном. гр. "_s},
        {u"VID"_s, u"Опреция"_s},
        {u"cena"_s, u"Цена (min)"_s, right, false, formats::number, 2},
        {u"nmn"_s, u"Вид"_s},
        {u"id"_s, u"id"_s, right, true},
        {u"i_id"_s, u"i_id"_s, right, true},
        {u"oper_vid"_s, u"oper_vid"_s, right, true},
        {u"norma"_s, u"Нормы (шт.)"_s, right},
    };
}

} // namespace

PriceListWindow::PriceListWindow(DataModule &dataModule, OperationEditWindow &editWindow,
                                 NormWindow &normWindow, QWidget *parent)
    : ListWindow(parent), m_data(dataModule), m_edit(editWindow), m_norms(normWindow), m_store(dataModule)
{
    setObjectName(u"Form4"_s);
    setWindowTitle(u"Цены (4)"_s);

    m_filter = addFilter(u"Edit1"_s, FilterEdit::Keys::ConsumeKeyDown, m_data.oper());
    m_prices = new QCheckBox(u"Цены"_s, this);
    m_prices->setObjectName(u"CheckBox1"_s);

    m_grid = addGrid(u"DBGrid1"_s, priceListColumns(), m_data.oper());

    m_add = makeButton(u"Button1"_s, u"Добавить"_s, this);
    m_change = makeButton(u"Button2"_s, u"Изменить"_s, this);
    m_delete = makeButton(u"Button3"_s, u"Удалить"_s, this);
    m_excel = makeButton(u"Button5"_s, u"Excel"_s, this);
    m_exit = makeButton(u"Button4"_s, u"Выход"_s, this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Марка"_s, this));
    top->addWidget(m_filter, 1);
    top->addWidget(m_prices);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_add, m_change, m_delete, m_excel}, m_exit));
    resize(820, 520);

    setModeButtons(m_change, {m_add, m_delete});
    connect(m_filter, &QLineEdit::textChanged, this, &PriceListWindow::applyFilter);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &PriceListWindow::gridDoubleClicked);
    connect(m_add, &QPushButton::clicked, this, &PriceListWindow::addOperation);
    connect(m_change, &QPushButton::clicked, this, &PriceListWindow::changeOrPick);
    connect(m_delete, &QPushButton::clicked, this, &PriceListWindow::deleteOperation);
    connect(m_excel, &QPushButton::clicked, this, &PriceListWindow::exportToExcel);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

void PriceListWindow::openFromMenu()
{
    Dataset &oper = m_data.oper();
    // The stored statement serves the pickers; the menu lists every operation.
    const QString storedSql = oper.sql();
    m_pickMode = false;
    enterMode(ListMode::Menu);

    const bool opened = guarded(this, [&] {
        oper.close();
        oper.setSql(OperationsStore::listSql(OperationList::Menu));
        oper.open();
    });
    // The field and the list agree, whatever an earlier opening left.
    applyFilter(m_filter->text());
    if (opened)
        exec();
    oper.close();
    oper.setSql(storedSql);
    // Others open Oper too; the field keeps its text for the next opening.
    oper.setFiltered(false);
}

std::optional<OperationPick> PriceListWindow::pick(OperationList list, int locateOperationId, bool dayOff,
                                                   int shift)
{
    Dataset &oper = m_data.oper();
    const QString storedSql = oper.sql();
    const bool wasOpen = oper.isOpen();
    m_pickMode = true;
    m_dayOff = dayOff;
    m_shift = shift;
    m_pick.reset();
    enterMode(ListMode::Pick);
    m_filter->setEnabled(true);
    m_filter->clear();
    applyFilter(QString());

    const bool opened = guarded(this, [&] {
        oper.close();
        oper.setSql(OperationsStore::listSql(list));
        oper.open();
        if (locateOperationId == 0 || !oper.locate(u"id"_s, locateOperationId))
            oper.first();
    });
    if (opened)
        exec();

    m_change->setDefault(false);
    m_pickMode = false;
    oper.close();
    oper.setSql(storedSql);
    oper.setFiltered(false);
    // A caller that had the list open finds it open again, over its own statement.
    if (wasOpen)
        guarded(parentWidget(), [&] { oper.open(); });
    return std::exchange(m_pick, std::nullopt);
}

void PriceListWindow::applyFilter(const QString &text)
{
    Dataset &oper = m_data.oper();
    oper.applyFilter(text.trimmed().isEmpty() ? Dataset::Filter() : filters::contains(u"marka"_s, text));
}

void PriceListWindow::gridDoubleClicked()
{
    if (!m_pickMode && m_prices->isChecked())
        openNorms();
    else
        changeOrPick();
}

void PriceListWindow::addOperation()
{
    if (m_pickMode)
        return;
    if (!m_edit.addNew())
        return;
    const int operationId = m_edit.savedOperationId();
    // A new operation has no price yet: its first norm row is typed at once.
    m_norms.edit(operationId);
    guarded(this, [&] { reopenAt(m_data.oper(), u"id"_s, operationId, 0); });
}

void PriceListWindow::changeOrPick()
{
    Dataset &oper = m_data.oper();
    if (!oper.hasCurrent())
        return;
    const int operationId = oper.intValue(u"id"_s);
    if (!OperationsStore::canChange(operationId))
        return;
    if (m_pickMode) {
        makePick();
        return;
    }
    OperationEditWindow::Operation operation;
    operation.id = operationId;
    operation.productId = oper.intValue(u"i_id"_s);
    operation.mark = oper.text(u"marka"_s);
    operation.kindId = oper.intValue(u"oper_vid"_s);
    operation.kind = oper.text(u"vid"_s);
    operation.naimen = oper.intValue(u"naimen"_s);
    const int recNo = oper.recNo();
    if (m_edit.change(operation))
        guarded(this, [&] { reopenAt(m_data.oper(), u"id"_s, operationId, recNo); });
}

void PriceListWindow::makePick()
{
    Dataset &oper = m_data.oper();
    if (!oper.hasCurrent() || !OperationsStore::canPick(oper.intValue(u"id"_s)))
        return;
    OperationPick pick;
    pick.operationId = oper.intValue(u"id"_s);
    pick.productId = oper.intValue(u"i_id"_s);
    pick.naimen = oper.intValue(u"naimen"_s);
    pick.basePrice = oper.decimal(u"cena"_s);
    pick.finalPrice = OperationsStore::finalPrice(pick.basePrice, m_dayOff, m_shift);
    const QString kind = oper.text(u"vid"_s);
    guarded(this, [&] {
        pick.text = OperationsStore::operationText(m_store.productMark(pick.productId), kind, pick.naimen);
        m_pick = pick;
        accept();
    });
}

void PriceListWindow::deleteOperation()
{
    Dataset &oper = m_data.oper();
    if (m_pickMode || !oper.hasCurrent())
        return;
    const int operationId = oper.intValue(u"id"_s);
    if (!OperationsStore::canDelete(operationId))
        return;
    const int recNo = oper.recNo();
    guarded(this, [&] {
        if (!messages::passes(this, m_store.checkNotInJournal(operationId)))
            return;
        if (!messages::askDelete(this, u"Удалить операцию?"_s))
            return;
        m_store.deleteOperation(operationId);
        reopenAt(m_data.oper(), u"id"_s, 0, recNo);
    });
}

void PriceListWindow::openNorms()
{
    Dataset &oper = m_data.oper();
    if (m_pickMode || !oper.hasCurrent())
        return;
    const int operationId = oper.intValue(u"id"_s);
    const int recNo = oper.recNo();
    m_norms.edit(operationId);
    guarded(this, [&] { reopenAt(m_data.oper(), u"id"_s, operationId, recNo); });
}

void PriceListWindow::exportToExcel()
{
    guarded(this, [&] {
        // Every operation, norm rows or not, whatever the filter shows.
        const QList<PriceExportRow> rows = m_store.exportRows();
        ExcelWriter writer(this);
        writer.setExportName(u"Цены"_s);
        if (!m_exportFolder.isEmpty())
            writer.setOutputFolder(m_exportFolder);
        {
            BusyCursor busy;
            if (writer.open(QString()) == -1)
                return; // the writer has told the user; the cursor comes back with `busy`
            writer.writeCell(1, 1, 1, u"Марка"_s);
            writer.writeCell(1, 2, 1, u"Операция"_s);
            writer.writeCell(1, 3, 1, u"Цена"_s);
            writer.writeCell(1, 4, 1, u"Вид"_s);
            int line = 2;
            for (const PriceExportRow &row : rows) {
                writer.writeCell(1, 1, line, row.mark);
                writer.writeCell(1, 2, line, row.kind);
                writer.writeCell(1, 3, line, row.price.toString());
                writer.writeCell(1, 4, line, OperationsStore::naimenText(row.naimen));
                ++line;
            }
        }
        writer.setVisible(true);
    });
}

} // namespace kordel
