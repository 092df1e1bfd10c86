#include "reports/reportswindow.h"

#include "core/datamodule.h"
#include "reports/layouts.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/restrictions.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel::reports {

ReportsWindow::ReportsWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_store(dataModule.connectionName()), m_excel(this)
{
    setObjectName(u"Form18"_s);
    setWindowTitle(u"Отчеты (18)"_s);
    m_today = [] { return QDate::currentDate(); };
    m_present = [this](const report::Report &r) { report::preview(r, this); };
    m_excel.setExportName(u"Отчет по продукции"_s);

    auto *kinds = new QGroupBox(u"Вид продукции"_s, this);
    kinds->setObjectName(u"RadioGroup1"_s);
    auto *kindsLayout = new QVBoxLayout(kinds);
    const QStringList kindNames{u"Все"_s, u"Готовая продукция"_s, u"Заготовки"_s};
    for (int i = 0; i < 3; ++i) {
        m_kinds[i] = new QRadioButton(kindNames[i], kinds);
        m_kinds[i]->setObjectName(u"RadioGroup1_"_s + QString::number(i));
        kindsLayout->addWidget(m_kinds[i]);
    }
    m_kinds[0]->setChecked(true);

    auto *periodBox = new QGroupBox(u"Период отбора"_s, this);
    periodBox->setObjectName(u"GroupBox1"_s);
    auto *periodLayout = new QGridLayout(periodBox);
    auto makePicker = [&](const QString &name) {
        auto *picker = new QDateEdit(periodBox);
        picker->setObjectName(name);
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(u"dd.MM.yyyy"_s);
        return picker;
    };
    m_from = makePicker(u"DTPicker1"_s);
    m_to = makePicker(u"DTPicker2"_s);
    periodLayout->addWidget(new QLabel(u"с"_s, periodBox), 0, 0);
    periodLayout->addWidget(m_from, 0, 1);
    periodLayout->addWidget(new QLabel(u"по"_s, periodBox), 1, 0);
    periodLayout->addWidget(m_to, 1, 1);

    auto *products = makeButton(u"Button2"_s, u"Отчет по продукции"_s, this);
    auto *workers = makeButton(u"Button4"_s, u"Отчет по рабочим"_s, this);
    auto *workersDetail = makeButton(u"Button1"_s, u"Детальный отчет по рабочим"_s, this);
    auto *productsDetail = makeButton(u"Button3"_s, u"Детальный отчет по продукции"_s, this);
    m_excelButton = makeButton(u"Button6"_s, u"Excel (0 из 0)"_s, this);
    auto *close = makeButton(u"Button5"_s, u"Выход"_s, this);

    auto *top = new QHBoxLayout;
    top->addWidget(kinds);
    top->addWidget(periodBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    for (QPushButton *button : {products, workers, workersDetail, productsDetail, m_excelButton})
        layout->addWidget(button);
    layout->addLayout(buttonRow({}, close));

    connect(products, &QPushButton::clicked, this, &ReportsWindow::showProductSummary);
    connect(workers, &QPushButton::clicked, this, &ReportsWindow::showWorkerSummary);
    connect(workersDetail, &QPushButton::clicked, this, &ReportsWindow::showWorkerDetail);
    connect(productsDetail, &QPushButton::clicked, this, &ReportsWindow::showProductDetail);
    connect(m_excelButton, &QPushButton::clicked, this, &ReportsWindow::exportSummary);
    // Escape closes the dialog as "Выход" does.
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void ReportsWindow::prepare()
{
    setPeriod(Period::previousMonth(m_today()));
    if (m_role)
        applyRole(m_role());
}

void ReportsWindow::openFromMenu()
{
    prepare();
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    exec();
}

void ReportsWindow::applyRole(Role role)
{
    applyRestrictions(role, this);
    if (const auto fixed = fixedReportKind(role))
        setKind(ProductKind(*fixed));
}

Period ReportsWindow::period() const
{
    return Period{m_from->date(), m_to->date()};
}

void ReportsWindow::setPeriod(const Period &period)
{
    m_from->setDate(period.from);
    m_to->setDate(period.to);
}

ProductKind ReportsWindow::kind() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_kinds[i]->isChecked())
            return ProductKind(i);
    }
    return ProductKind::All;
}

void ReportsWindow::setKind(ProductKind kind)
{
    m_kinds[int(kind)]->setChecked(true);
}

bool ReportsWindow::present(const std::function<report::Report()> &compute)
{
    report::Report r;
    const bool computed = guarded(this, [&] {
        BusyCursor busy;
        r = compute();
    });
    if (computed)
        m_present(r);
    return computed;
}

bool ReportsWindow::showWorkerDetail()
{
    const Period p = period();
    const ProductKind k = kind();
    return present(
        [&] { return workerDetailReport(m_store.workerDetail(p, k), m_store.householdTotals(p), p); });
}

bool ReportsWindow::showProductDetail()
{
    const Period p = period();
    const ProductKind k = kind();
    return present([&] { return productDetailReport(m_store.productDetail(p, k), p); });
}

bool ReportsWindow::showWorkerSummary()
{
    const Period p = period();
    const ProductKind k = kind();
    return present(
        [&] { return workerSummaryReport(m_store.workerSummary(p, k), m_store.householdTotals(p), p); });
}

bool ReportsWindow::showProductSummary()
{
    const Period p = period();
    const ProductKind k = kind();
    return present([&] { return productSummaryReport(m_store.productSummary(p, k), p); });
}

void ReportsWindow::exportSummary()
{
    QList<ProductSummaryRow> rows;
    if (!guarded(this, [&] { rows = m_store.productWorkbook(period(), kind()); }))
        return;
    if (m_excel.open(QString()) != 1)
        return;
    const QString count = QString::number(rows.size());
    m_excelButton->setText(u"Excel (0 из "_s + count + u')');
    const QStringList captions{u"Наименование"_s, u"Операция"_s, u"Вид продукции"_s, u"Коробки"_s,
                               u"Кол-во"_s};
    for (int c = 0; c < captions.size(); ++c)
        m_excel.writeCell(1, c + 1, 1, captions[c]);
    int r = 1;
    for (const ProductSummaryRow &row : std::as_const(rows)) {
        ++r;
        m_excel.writeCell(1, 1, r, row.nom);
        m_excel.writeCell(1, 2, r, workbookOperation(row.vid, row.color));
        m_excel.writeCell(1, 3, r, kindText(row.naimen));
        m_excel.writeCell(1, 4, r, row.boxes.toString());
        m_excel.writeCell(1, 5, r, row.quantity.rounded(0).toString());
        // The first number is the sheet row written last.
        m_excelButton->setText(u"Excel ("_s + QString::number(r) + u" из "_s + count + u')');
    }
    m_excel.setVisible(true);
}

} // namespace kordel::reports
