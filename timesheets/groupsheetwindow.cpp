#include "timesheets/groupsheetwindow.h"

#include "core/datamodule.h"
#include "db/decimal.h"
#include "timesheets/exportprogress.h"
#include "timesheets/monthchoosers.h"
#include "widgets/excelwriter.h"
#include "widgets/formkit.h"
#include "widgets/groupedgrid.h"
#include "widgets/guarded.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

constexpr int leadingColumns = 3;
constexpr int priceColumn = 34;

QList<GridColumn> groupSheetColumns()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    QList<GridColumn> columns{{u"s_nom"_s, u"Номенкл. гр."_s, Qt::AlignLeft | Qt::AlignVCenter, true},
                              {u"fio"_s, u"Фамилия И.О."_s},
                              {u"s_night"_s, u"!"_s}};
    for (int day = 1; day <= 31; ++day)
        columns.append({u"d"_s + QString::number(day), QString::number(day), right, false, formats::number});
    columns.append({u"f_price"_s, u"Итого (р.)"_s, right, false, formats::money});
    columns.append({u"i_time"_s, u"Итого (ч.)"_s, right, false, formats::number});
    columns.append({u"average_price"_s, u"Час (р.)"_s, right, false, formats::money});
    return columns;
}

QList<GridColumn> payrollColumns()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    return {{u"fio"_s, u"Фамилия И.О."_s},
            {u"sum_all"_s, u"Сумма"_s, right, false, formats::money},
            {u"s_nom"_s, u"Номенкл. гр."_s, Qt::AlignLeft | Qt::AlignVCenter, true},
            {u"sum_all_12"_s, u"Сумма без РК"_s, right, false, formats::money}};
}

Decimal decimalOf(const QVariant &value)
{
    return value.isNull() ? Decimal() : Decimal::fromVariant(value);
}

void fixedDialog(QDialog *dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
}

} // namespace

GroupSheetWindow::GroupSheetWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_store(dataModule)
{
    setObjectName(u"Form31"_s);
    fixedDialog(this);
    m_grid = new GroupedGrid(groupSheetColumns(), {0, 1, {priceColumn}}, this);
    m_grid->setObjectName(u"DBGridEh1"_s);
    // Weekend days red; days past the month's end in the background colour
    // with silver titles.
    auto dayColour = [this](int column, bool title) -> QVariant {
        const int day = column - leadingColumns + 1;
        if (!m_marked.first.isValid() || day < 1 || day > 31)
            return {};
        if (m_marked.isPastEnd(day))
            return title ? QColor(0xC0, 0xC0, 0xC0) : m_grid->palette().color(QPalette::Base);
        return m_marked.isWeekend(day) ? QVariant(QColor(Qt::red)) : QVariant();
    };
    m_grid->datasetModel()->setStyler([dayColour](const Dataset &, int, const GridColumn &column, int role) {
        if (role != Qt::ForegroundRole || !column.field.startsWith(u'd'))
            return QVariant();
        return dayColour(leadingColumns + QStringView(column.field).mid(1).toInt() - 1, false);
    });
    m_grid->datasetModel()->setHeaderStyler([dayColour](int section, int role) {
        return role == Qt::ForegroundRole ? dayColour(section, true) : QVariant();
    });

    m_month = makeMonthChooser(this);
    m_year = new YearLookup(this);
    m_refresh = makeButton(u"Button5"_s, u"Обновить"_s, this);
    m_excel = makeButton(u"Button2"_s, u"Excel"_s, this);
    m_exit = makeButton(u"Button1"_s, u"Выход"_s, this);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_month);
    bottom->addWidget(m_year);
    bottom->addWidget(m_refresh);
    bottom->addWidget(m_excel);
    bottom->addStretch();
    bottom->addWidget(m_exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(1100, 560);

    connect(m_month, &QComboBox::currentIndexChanged, this,
            [this] { guarded(this, [&] { monthChanged(); }); });
    connect(m_year, &YearLookup::yearChosen, this, [this] { guarded(this, [&] { monthChanged(); }); });
    connect(m_refresh, &QPushButton::clicked, this, &GroupSheetWindow::refresh);
    connect(m_excel, &QPushButton::clicked, this, &GroupSheetWindow::exportToExcel);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

MonthPeriod GroupSheetWindow::period() const
{
    return MonthPeriod::of(m_month->currentIndex(), m_year->year());
}

void GroupSheetWindow::openMode(int kind, const QDate &reference)
{
    prepare(kind, reference);
    exec();
    finish();
}

void GroupSheetWindow::prepare(int kind, const QDate &reference)
{
    m_kind = kind == 7777 ? 7777 : 7778;
    setWindowTitle(m_kind == 7777 ? u"Табель по ном. гр. хоз. работы (31)"_s
                                  : u"Табель по ном. гр. ср. сдельная (31)"_s);
    m_grid->setDataset(&currentSheet());
    {
        const QSignalBlocker blocker(m_month);
        m_month->setCurrentIndex(reference.month() - 1);
    }
    m_year->setYear(reference.year());
    guarded(this, [&] {
        m_year->reload(m_data.connectionName());
        monthChanged();
    });
    m_grid->setColumnWidth(2, 50);
}

void GroupSheetWindow::finish()
{
    currentSheet().close();
}

void GroupSheetWindow::monthChanged()
{
    currentSheet().close();
    const MonthPeriod month = period();
    if (!month.first.isValid())
        return;
    m_store.openSheet(m_kind, month);
    m_marked = month;
    m_grid->datasetModel()->restyle();
}

void GroupSheetWindow::refresh()
{
    guarded(this, [&] {
        if (period().first.isValid())
            m_store.openSheet(m_kind, period());
    });
}

void GroupSheetWindow::exportToExcel()
{
    guarded(this, [&] {
        Dataset &sheet = currentSheet();
        const int rows = sheet.recordCount();
        ExcelWriter writer(this);
        writer.setExportName(u"Табель"_s);
        if (!m_exportFolder.isEmpty())
            writer.setOutputFolder(m_exportFolder);
        {
            BusyCursor busy;
            if (writer.open(QString()) == -1)
                return;
            writer.setVisible(false);
            ExportProgress progress(m_excel, u" из ...)"_s);
            int dayField[32] = {};
            for (int day = 1; day <= 31; ++day)
                dayField[day] = sheet.fieldIndex(u"d"_s + QString::number(day));
            auto bold = [&](int column, int row, const QString &text, bool textFormat = true) {
                writer.writeFormattedCell(1, column, row, text, textFormat, true, true);
            };
            auto plain = [&](int column, int row, const QString &text, bool textFormat) {
                writer.writeFormattedCell(1, column, row, text, textFormat, true, false);
            };
            bold(1, 1, m_month->currentText() + u' ' + m_year->currentText());
            bold(1, 2, m_kind == 7777 ? u"ХОЗ. РАБОТЫ"_s : u"СР. СДЕЛЬНАЯ"_s);
            bold(2, 2, u"Фамилия И.О."_s);
            for (int day = 1; day <= 31; ++day)
                bold(3 + day, 2, QString::number(day), false);
            bold(35, 2, u"Итого (ч.)"_s);
            bold(36, 2, u"Итого (р.)"_s);
            bold(37, 2, u"Час (р.)"_s);

            int line = 3;
            Decimal groupTotal;
            Decimal grandTotal;
            QVariant group;
            if (rows > 0) {
                bold(1, line, sheet.valueAt(0, u"s_nom"_s).toString().trimmed());
                group = sheet.valueAt(0, u"id_nom"_s);
                ++line;
            }
            for (int row = 0; row < rows; ++row) {
                const QVariant rowGroup = sheet.valueAt(row, u"id_nom"_s);
                if (rowGroup.toString() != group.toString()) {
                    bold(2, line, u"ИТОГО:"_s);
                    bold(36, line, groupTotal.toString(2), false);
                    grandTotal = grandTotal + groupTotal;
                    ++line;
                    bold(1, line, sheet.valueAt(row, u"s_nom"_s).toString().trimmed());
                    group = rowGroup;
                    ++line;
                }
                plain(2, line, sheet.valueAt(row, u"fio"_s).toString().trimmed(), true);
                plain(3, line, sheet.valueAt(row, u"s_night"_s).toString(), true);
                for (int day = 1; day <= 31; ++day)
                    plain(3 + day, line,
                          sheetCellText(dayField[day] < 0 ? QVariant() : sheet.valueAt(row, dayField[day])),
                          false);
                plain(35, line, sheetCellText(sheet.valueAt(row, u"i_time"_s)), false);
                plain(36, line, sheetCellText(sheet.valueAt(row, u"f_price"_s)), false);
                plain(37, line, sheetCellText(sheet.valueAt(row, u"average_price"_s)), false);
                // The group's earnings of all its workers, also those without
                // an hours row in it.
                groupTotal = decimalOf(sheet.valueAt(row, u"f_price_nom"_s));
                ++line;
                progress.rowsWritten(line - 3, row + 1 == rows);
            }
            bold(2, line, u"ИТОГО:"_s);
            bold(36, line, groupTotal.toString(2), false);
            grandTotal = grandTotal + groupTotal;
            bold(1, line + 1, u"ИТОГО:"_s);
            bold(36, line + 1, grandTotal.toString(2), false);
        }
        writer.setVisible(true);
    });
}

void GroupSheetWindow::done(int result)
{
    QDialog::done(result);
}

PayrollWindow::PayrollWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_store(dataModule)
{
    setObjectName(u"Form30"_s);
    setWindowTitle(u"Общий табель ЗП (30)"_s);
    fixedDialog(this);
    m_grid = new GroupedGrid(payrollColumns(), {2, 0, {1, 3}}, this);
    m_grid->setObjectName(u"DBGridEh1"_s);
    m_grid->setDataset(&m_store.payroll());
    m_month = makeMonthChooser(this);
    m_year = new YearLookup(this);
    m_excel = makeButton(u"Button2"_s, u"Excel"_s, this);
    m_exit = makeButton(u"Button1"_s, u"Выход"_s, this);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_year);
    bottom->addWidget(m_month);
    bottom->addWidget(m_excel);
    bottom->addStretch();
    bottom->addWidget(m_exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(640, 560);

    connect(m_month, &QComboBox::currentIndexChanged, this,
            [this] { guarded(this, [&] { monthChanged(); }); });
    connect(m_year, &YearLookup::yearChosen, this, [this] { guarded(this, [&] { monthChanged(); }); });
    connect(m_excel, &QPushButton::clicked, this, &PayrollWindow::exportToExcel);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

MonthPeriod PayrollWindow::period() const
{
    return MonthPeriod::of(m_month->currentIndex(), m_year->year());
}

void PayrollWindow::openFor(const QDate &reference)
{
    prepare(reference);
    exec();
    finish();
}

void PayrollWindow::prepare(const QDate &reference)
{
    {
        const QSignalBlocker blocker(m_month);
        m_month->setCurrentIndex(reference.month() - 1);
    }
    m_year->setYear(reference.year());
    guarded(this, [&] {
        m_year->reload(m_data.connectionName());
        monthChanged();
    });
}

void PayrollWindow::finish()
{
    m_store.payroll().close();
}

void PayrollWindow::monthChanged()
{
    m_store.payroll().close();
    if (period().first.isValid())
        m_store.openPayroll(period());
}

void PayrollWindow::exportToExcel()
{
    guarded(this, [&] {
        Dataset &sheet = m_store.payroll();
        const int rows = sheet.recordCount();
        ExcelWriter writer(this);
        writer.setExportName(u"Общая ЗП"_s);
        if (!m_exportFolder.isEmpty())
            writer.setOutputFolder(m_exportFolder);
        {
            BusyCursor busy;
            if (writer.open(QString()) == -1)
                return;
            writer.setVisible(false);
            ExportProgress progress(m_excel, u" из ...)"_s);
            auto bold = [&](int column, int row, const QString &text, bool textFormat = true) {
                writer.writeFormattedCell(1, column, row, text, textFormat, true, true);
            };
            auto plain = [&](int column, int row, const QString &text, bool textFormat) {
                writer.writeFormattedCell(1, column, row, text, textFormat, true, false);
            };
            bold(1, 1, m_month->currentText() + u' ' + m_year->currentText());
            bold(1, 2, u"Общая ЗП"_s);
            bold(2, 2, u"Фамилия И.О."_s);
            bold(3, 2, u"Сумма (р.)"_s);
            bold(4, 2, u"Сумма без РК (р.)"_s);

            int line = 3;
            Decimal groupSum, groupSum12, grandSum, grandSum12;
            QVariant group;
            if (rows > 0) {
                bold(1, line, sheet.valueAt(0, u"s_nom"_s).toString().trimmed());
                group = sheet.valueAt(0, u"id_nom"_s);
                ++line;
            }
            for (int row = 0; row < rows; ++row) {
                const QVariant rowGroup = sheet.valueAt(row, u"id_nom"_s);
                if (rowGroup.toString() != group.toString()) {
                    bold(2, line, u"ИТОГО:"_s);
                    bold(3, line, groupSum.toString(2), false);
                    bold(4, line, groupSum12.toString(2), false);
                    grandSum = grandSum + groupSum;
                    grandSum12 = grandSum12 + groupSum12;
                    ++line;
                    bold(1, line, sheet.valueAt(row, u"s_nom"_s).toString().trimmed());
                    group = rowGroup;
                    groupSum = groupSum12 = Decimal();
                    ++line;
                }
                const QVariant sum = sheet.valueAt(row, u"sum_all"_s);
                const QVariant sum12 = sheet.valueAt(row, u"sum_all_12"_s);
                plain(2, line, sheet.valueAt(row, u"fio"_s).toString().trimmed(), true);
                plain(3, line, sheetCellText(sum), false);
                plain(4, line, sheetCellText(sum12), false);
                groupSum = groupSum + decimalOf(sum);
                groupSum12 = groupSum12 + decimalOf(sum12);
                ++line;
                progress.rowsWritten(line - 3, row + 1 == rows);
            }
            bold(2, line, u"ИТОГО:"_s);
            bold(3, line, groupSum.toString(2), false);
            bold(4, line, groupSum12.toString(2), false);
            grandSum = grandSum + groupSum;
            grandSum12 = grandSum12 + groupSum12;
            bold(1, line + 1, u"ИТОГО:"_s);
            bold(3, line + 1, grandSum.toString(2), false);
            bold(4, line + 1, grandSum12.toString(2), false);
        }
        writer.setVisible(true);
    });
}

void PayrollWindow::done(int result)
{
    QDialog::done(result);
}

} // namespace kordel
