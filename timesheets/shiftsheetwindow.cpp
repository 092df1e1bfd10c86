#include "timesheets/shiftsheetwindow.h"

#include "core/datamodule.h"
#include "timesheets/exportprogress.h"
#include "timesheets/hourssheetreport.h"
#include "widgets/datagrid.h"
#include "widgets/excelwriter.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/report.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

constexpr int leadingColumns = 1; // the name
const QColor silver(0xC0, 0xC0, 0xC0);
const QColor longDay(192, 220, 192);

QList<GridColumn> sheetColumns()
{
    QList<GridColumn> columns;
    columns.append({u"fio"_s, u"Фамилия И. О."_s});
    for (int day = 1; day <= 31; ++day)
        columns.append({u"d"_s + QString::number(day), QString::number(day), Qt::AlignCenter});
    columns.append({u"summ"_s, u"Итого"_s, Qt::AlignCenter});
    return columns;
}

// The day of a field "d1".."d31"; 0 for any other field.
int dayOfField(const QString &field)
{
    if (field.size() < 2 || field.size() > 3 || field.at(0) != u'd')
        return 0;
    bool ok = false;
    const int day = QStringView(field).mid(1).toInt(&ok);
    return ok && day >= 1 && day <= 31 ? day : 0;
}

} // namespace

ShiftSheetWindow::ShiftSheetWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_store(dataModule)
{
    setObjectName(u"Form19"_s);
    setWindowTitle(u"Табель по времени (19)"_s);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"PageControl1"_s);
    m_rebuild = makeButton(u"Button1"_s, u"Перестроить"_s, this);
    m_excel = makeButton(u"Button2"_s, u"Excel"_s, this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"PB"_s);
    m_progress->setMinimum(1);
    m_progress->hide();

    for (int shift = 1; shift <= 3; ++shift) {
        auto *page = new QWidget(m_tabs);
        page->setObjectName(u"TabSheet"_s + QString::number(shift));
        DataGrid *grid =
            makeGrid(u"DBGrid"_s + QString::number(shift), sheetColumns(), m_data.hoursSheet(shift), page);
        m_grids[std::size_t(shift - 1)] = grid;
        m_days[std::size_t(shift - 1)] =
            std::make_unique<DayColumns>(grid, leadingColumns, DayMarking::Shift);
        grid->datasetModel()->setStyler(
            [this, shift](const Dataset &dataset, int row, const GridColumn &column, int role) -> QVariant {
                const int day = dayOfField(column.field);
                return day > 0 ? dayCellRole(shift, dataset, row, day, role) : QVariant();
            });
        auto *layout = new QVBoxLayout(page);
        if (shift == 1) {
            auto *top = new QHBoxLayout;
            top->addWidget(m_rebuild);
            top->addWidget(m_excel);
            top->addWidget(m_progress, 1);
            layout->addLayout(top);
        }
        layout->addWidget(grid, 1);
        m_tabs->addTab(page, u"Смена №"_s + QString::number(shift));
    }

    m_month = makeMonthChooser(this);
    m_year = new QComboBox(this);
    m_year->setObjectName(u"ComboBox2"_s);
    m_year->setEditable(false);
    for (const int year : fixedYears())
        m_year->addItem(QString::number(year), year);
    m_year->setCurrentIndex(-1);

    m_refresh = makeButton(u"Button5"_s, u"Обновить"_s, this);
    m_print = makeButton(u"Button6"_s, u"Печать"_s, this);
    m_exit = makeButton(u"Button4"_s, u"Выход"_s, this);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_month);
    bottom->addWidget(m_year);
    bottom->addWidget(m_refresh);
    bottom->addWidget(m_print);
    bottom->addStretch();
    bottom->addWidget(m_exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);
    resize(1100, 600);

    connect(m_month, &QComboBox::currentIndexChanged, this, &ShiftSheetWindow::monthChanged);
    connect(m_year, &QComboBox::currentIndexChanged, this, &ShiftSheetWindow::monthChanged);
    connect(m_rebuild, &QPushButton::clicked, this, &ShiftSheetWindow::rebuild);
    connect(m_excel, &QPushButton::clicked, this, &ShiftSheetWindow::exportToExcel);
    connect(m_refresh, &QPushButton::clicked, this, &ShiftSheetWindow::refresh);
    connect(m_print, &QPushButton::clicked, this, &ShiftSheetWindow::print);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

void ShiftSheetWindow::openForMonth(const QDate &date)
{
    choose(date.month() - 1, date.year());
    exec();
    closeSheets();
}

void ShiftSheetWindow::choose(int monthIndex, int year)
{
    {
        const QSignalBlocker monthBlocker(m_month);
        const QSignalBlocker yearBlocker(m_year);
        m_month->setCurrentIndex(qBound(0, monthIndex, 11));
        int index = m_year->findData(year);
        if (index < 0) {
            // A year outside the list joins it in order rather than leaving
            // the window on some other year.
            index = 0;
            while (index < m_year->count() && m_year->itemData(index).toInt() < year)
                ++index;
            m_year->insertItem(index, QString::number(year), year);
        }
        m_year->setCurrentIndex(index);
    }
    monthChanged();
}

MonthPeriod ShiftSheetWindow::period() const
{
    const int year =
        m_year->currentIndex() >= 0 ? m_year->currentData().toInt() : QDate::currentDate().year();
    return MonthPeriod::of(m_month->currentIndex(), year);
}

void ShiftSheetWindow::openSheets()
{
    const MonthPeriod p = period();
    for (int shift = 1; shift <= 3; ++shift) {
        Dataset &sheet = m_data.hoursSheet(shift);
        sheet.close();
        sheet.setParam(u"mnth"_s, p.month);
        sheet.setParam(u"yea"_s, p.year);
        sheet.setParam(u"date1"_s, p.first);
        sheet.setParam(u"date2"_s, p.last);
    }
    // One failure is told once; the shifts not read stay empty.
    guarded(this, [&] {
        for (int shift = 1; shift <= 3; ++shift) {
            m_data.hoursSheet(shift).open();
            m_days[std::size_t(shift - 1)]->mark(p);
        }
    });
}

void ShiftSheetWindow::closeSheets()
{
    for (int shift = 1; shift <= 3; ++shift)
        m_data.hoursSheet(shift).close();
}

void ShiftSheetWindow::monthChanged()
{
    openSheets();
}

void ShiftSheetWindow::refresh()
{
    openSheets();
}

void ShiftSheetWindow::rebuild()
{
    const MonthPeriod p = period();
    closeSheets();
    m_progress->setRange(1, ShiftSheetStore::rebuildSteps);
    m_progress->setValue(1);
    m_progress->show();
    {
        BusyCursor busy;
        guarded(this, [&] {
            m_store.rebuild(p, [this](int step) {
                m_progress->setValue(step);
                m_progress->repaint();
            });
        });
    }
    m_progress->hide();
    // After a failure the month's earlier rows are still there: show them.
    openSheets();
}

void ShiftSheetWindow::print()
{
    const MonthPeriod p = period();
    guarded(this, [&] {
        QList<MonthHoursLine> lines;
        {
            BusyCursor busy;
            lines = m_store.monthHours(p);
        }
        const report::Report sheet = hoursSheetReport(p, lines);
        if (m_previewer)
            m_previewer(sheet, this);
        else
            report::preview(sheet, this);
    });
}

void ShiftSheetWindow::exportToExcel()
{
    const MonthPeriod p = period();
    guarded(this, [&] {
        ExcelWriter writer(this);
        writer.setExportName(u"Табель по сменам"_s);
        if (!m_exportFolder.isEmpty())
            writer.setOutputFolder(m_exportFolder);
        {
            BusyCursor busy;
            const QList<MonthHoursLine> lines = m_store.monthHours(p);
            ExportProgress progress(m_excel, u" из "_s + QString::number(lines.size()) + u')');
            const bool started = writeHoursSheet(writer, p, lines, [&](int written) {
                progress.rowsWritten(written, written == lines.size());
            });
            if (!started)
                return;
        }
        writer.setVisible(true);
    });
}

void ShiftSheetWindow::showEvent(QShowEvent *event)
{
    m_excel->setText(u"Excel"_s);
    QDialog::showEvent(event);
}

QVariant ShiftSheetWindow::dayCellRole(int shift, const Dataset &dataset, int row, int day, int role) const
{
    const DayColumns &days = *m_days[std::size_t(shift - 1)];
    const QVariant cell = dataset.valueAt(row, u"d"_s + QString::number(day));
    const int hours = cell.isNull() ? 0 : cell.toInt();
    const QVariant marked = days.cellForeground(leadingColumns + day - 1);
    const bool red = marked.isValid() && marked.value<QColor>() == QColor(Qt::red);
    switch (role) {
    case Qt::FontRole:
        if (hours >= 8) {
            QFont bold = m_grids[std::size_t(shift - 1)]->font();
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        if (hours == 0) {
            if (days.period().isPastEnd(day) && marked.isValid())
                return marked; // the background colour: nothing to see past the end
            return red ? marked : QVariant(silver);
        }
        if (hours == 8)
            return red ? marked : QVariant();
        return marked;
    case Qt::BackgroundRole:
        return hours > 8 ? QVariant(longDay) : QVariant();
    default:
        return {};
    }
}

} // namespace kordel
