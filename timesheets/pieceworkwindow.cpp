#include "timesheets/pieceworkwindow.h"

#include "core/datamodule.h"
#include "timesheets/exportprogress.h"
#include "timesheets/monthchoosers.h"
#include "widgets/datagrid.h"
#include "widgets/excelwriter.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

constexpr int leadingColumns = 2;
constexpr int nightColumn = 1;
constexpr int rateColumn = 35;

QList<GridColumn> sheetColumns()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    QList<GridColumn> columns{{u"fio"_s, u"Фамилия И. О."_s}, {u"s_night"_s, u" "_s}};
    for (int day = 1; day <= 31; ++day)
        columns.append({u"d"_s + QString::number(day), QString::number(day), right, false, formats::number});
    columns.append({u"f_price"_s, u"Итого (р.)"_s, right, false, formats::money});
    columns.append({u"i_time"_s, u"Итого (ч.)"_s, right, false, formats::number});
    columns.append({u"average_price"_s, u"Час (р.)"_s, right, false, formats::money});
    return columns;
}

QString caption(PieceworkMode mode)
{
    switch (mode) {
    case PieceworkMode::Piecework:
        return u"Табель сделка (27)"_s;
    case PieceworkMode::General:
        return u"Общий табель (27)"_s;
    case PieceworkMode::Household:
        return u"Табель хоз. работы (27)"_s;
    case PieceworkMode::Average:
        return u"Табель ср. сдельная (27)"_s;
    }
    return {};
}

int nameWidth(PieceworkMode mode)
{
    switch (mode) {
    case PieceworkMode::Piecework:
        return 238;
    case PieceworkMode::General:
        return 304;
    default:
        return 208;
    }
}

QString decimalText(const std::optional<Decimal> &value)
{
    return value ? value->toString(2) : QString();
}

} // namespace

PieceworkWindow::PieceworkWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_store(dataModule)
{
    setObjectName(u"Form27"_s);
    setWindowTitle(caption(m_mode));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    m_grid = new DataGrid(sheetColumns(), this);
    m_grid->setObjectName(u"DBGrid"_s);
    m_days = std::make_unique<DayColumns>(m_grid, leadingColumns, DayMarking::Piecework);
    m_grid->datasetModel()->setStyler(
        [this](const Dataset &, int, const GridColumn &column, int role) -> QVariant {
            if (role != Qt::ForegroundRole || !column.field.startsWith(u'd'))
                return {};
            const int day = QStringView(column.field).mid(1).toInt();
            return day > 0 ? m_days->cellForeground(leadingColumns + day - 1) : QVariant();
        });

    m_month = makeMonthChooser(this);
    m_year = new YearLookup(this);
    auto valueLabel = [this](const QString &name) {
        auto *label = new QLabel(this);
        label->setObjectName(name);
        label->setMinimumWidth(90);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    m_average = valueLabel(u"price8"_s);
    m_household = valueLabel(u"price7"_s);
    m_piecework = valueLabel(u"price"_s);
    m_all = valueLabel(u"all_price"_s);

    m_rebuild = makeButton(u"Button3"_s, u"Перестроить"_s, this);
    m_refresh = makeButton(u"Button5"_s, u"Обновить"_s, this);
    m_excel = makeButton(u"Button2"_s, u"Excel"_s, this);
    m_exit = makeButton(u"Button1"_s, u"Выход"_s, this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"PB"_s);
    m_progress->setMinimum(1);
    m_progress->hide();

    auto *totals = new QHBoxLayout;
    totals->addWidget(new QLabel(u"Ср. сдел.:"_s, this));
    totals->addWidget(m_average);
    totals->addWidget(new QLabel(u"Хоз. работы:"_s, this));
    totals->addWidget(m_household);
    totals->addWidget(new QLabel(u"Сделка:"_s, this));
    totals->addWidget(m_piecework);
    totals->addWidget(new QLabel(u"Итого:"_s, this));
    totals->addWidget(m_all);
    totals->addStretch();
    totals->addWidget(m_month);
    totals->addWidget(m_year);

    auto *buttons = buttonRow({m_rebuild, m_refresh, m_excel}, m_exit);
    buttons->insertWidget(3, m_progress, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(totals);
    layout->addLayout(buttons);
    resize(1100, 560);

    connect(m_month, &QComboBox::currentIndexChanged, this,
            [this] { guarded(this, [&] { monthChanged(); }); });
    connect(m_year, &YearLookup::yearChosen, this, [this] { guarded(this, [&] { monthChanged(); }); });
    connect(m_rebuild, &QPushButton::clicked, this, &PieceworkWindow::rebuild);
    connect(m_refresh, &QPushButton::clicked, this, &PieceworkWindow::refresh);
    connect(m_excel, &QPushButton::clicked, this, &PieceworkWindow::exportToExcel);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

PieceworkWindow::~PieceworkWindow() = default;

MonthPeriod PieceworkWindow::period() const
{
    return MonthPeriod::of(m_month->currentIndex(), m_year->year());
}

void PieceworkWindow::openMode(PieceworkMode mode, const QDate &reference)
{
    prepare(mode, reference);
    exec();
    finish();
}

void PieceworkWindow::prepare(PieceworkMode mode, const QDate &reference)
{
    m_mode = mode;
    setWindowTitle(caption(mode));
    const bool byNight = mode == PieceworkMode::Household || mode == PieceworkMode::Average;
    m_grid->setColumnHidden(nightColumn, !byNight);
    m_grid->setColumnHidden(rateColumn, mode == PieceworkMode::General);
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
    // The name column's width of the mode, widened for the days the month
    // lacks, which are hidden.
    const int pastEnd = 31 - period().days();
    m_grid->setColumnWidth(0, nameWidth(mode) + 20 * pastEnd);
}

void PieceworkWindow::finish()
{
    m_grid->setColumnWidth(0, 208);
    m_grid->setColumnHidden(nightColumn, false);
    m_grid->setColumnHidden(rateColumn, false);
    currentSheet().close();
}

void PieceworkWindow::monthChanged()
{
    Dataset &sheet = currentSheet();
    sheet.close();
    const MonthPeriod month = period();
    if (!month.first.isValid())
        return;
    m_store.openSheet(m_mode, month);
    showTotals();
    m_days->mark(month);
}

void PieceworkWindow::showTotals()
{
    m_average->clear();
    m_household->clear();
    m_piecework->clear();
    m_all->clear();
    const PieceworkStore::Totals totals = m_store.totals(period());
    m_average->setText(decimalText(totals.average));
    m_household->setText(decimalText(totals.household));
    m_piecework->setText(decimalText(totals.piecework));
    m_all->setText(decimalText(totals.all));
}

void PieceworkWindow::rebuild()
{
    if (m_year->year() <= 0) {
        messages::error(this, u"Не выбран год: табель не перестроен. Выберите год в списке."_s);
        return;
    }
    guarded(this, [&] {
        const MonthPeriod month = period();
        currentSheet().close();
        m_progress->setMaximum(month.days());
        m_progress->setValue(1);
        m_progress->show();
        PieceworkStore::RebuildOutcome outcome;
        {
            BusyCursor busy;
            const auto hideProgress = qScopeGuard([this] { m_progress->hide(); });
            outcome = m_store.rebuild(month);
            m_progress->setValue(month.days());
        }
        if (!outcome.done)
            messages::error(this, outcome.refusal);
        m_year->reload(m_data.connectionName());
        m_store.openSheet(m_mode, month);
        m_days->mark(month);
    });
}

void PieceworkWindow::refresh()
{
    guarded(this, [&] {
        Dataset &sheet = currentSheet();
        const int recNo = sheet.recNo();
        if (!period().first.isValid())
            return;
        m_store.openSheet(m_mode, period());
        sheet.setRecNo(recNo);
    });
}

void PieceworkWindow::exportToExcel()
{
    guarded(this, [&] {
        Dataset &sheet = currentSheet();
        const int recNo = sheet.recNo();
        const bool withNight = m_mode == PieceworkMode::Household || m_mode == PieceworkMode::Average;
        const bool withRate = m_mode != PieceworkMode::General;
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
            ExportProgress progress(m_excel, u" из "_s + QString::number(rows) + u')');
            int dayField[32] = {};
            for (int day = 1; day <= 31; ++day)
                dayField[day] = sheet.fieldIndex(u"d"_s + QString::number(day));
            writer.writeFormattedCell(1, 1, 1, m_month->currentText() + u' ' + m_year->currentText(), true,
                                      true, true);
            writer.writeFormattedCell(1, 1, 2, u"Фамилия И.О."_s, true, true, true);
            for (int day = 1; day <= 31; ++day)
                writer.writeFormattedCell(1, 2 + day, 2, QString::number(day), false, true, true);
            writer.writeFormattedCell(1, 34, 2, u"Итого (ч.)"_s, true, true, true);
            writer.writeFormattedCell(1, 35, 2, u"Итого (р.)"_s, true, true, true);
            if (withRate)
                writer.writeFormattedCell(1, 36, 2, u"Час (р.)"_s, true, true, true);

            for (int row = 0; row < rows; ++row) {
                const int line = 3 + row;
                writer.writeFormattedCell(1, 1, line, sheet.valueAt(row, u"fio"_s).toString(), true, true,
                                          false);
                if (withNight)
                    writer.writeFormattedCell(1, 2, line, sheet.valueAt(row, u"s_night"_s).toString(), true,
                                              true, false);
                for (int day = 1; day <= 31; ++day)
                    writer.writeFormattedCell(
                        1, 2 + day, line,
                        sheetCellText(dayField[day] < 0 ? QVariant() : sheet.valueAt(row, dayField[day])),
                        false, true, false);
                writer.writeFormattedCell(1, 34, line, sheetCellText(sheet.valueAt(row, u"i_time"_s)), false,
                                          true, false);
                writer.writeFormattedCell(1, 35, line, sheetCellText(sheet.valueAt(row, u"f_price"_s)), false,
                                          true, false);
                if (withRate)
                    writer.writeFormattedCell(1, 36, line,
                                              sheetCellText(sheet.valueAt(row, u"average_price"_s)), false,
                                              true, false);
                progress.rowsWritten(row + 1, row + 1 == rows);
            }
        }
        writer.setVisible(true);
        sheet.setRecNo(recNo);
    });
}

void PieceworkWindow::done(int result)
{
    m_excel->setText(u"Excel"_s);
    QDialog::done(result);
}

} // namespace kordel
