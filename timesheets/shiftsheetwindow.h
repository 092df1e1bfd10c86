#pragma once

#include "timesheets/monthchoosers.h"
#include "timesheets/shiftsheetstore.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace kordel {

class DataGrid;
class DataModule;

namespace report {
struct Report;
}

// The timesheet by shifts (Form19): the month's hours rows of shifts 1..3,
// one tab each, rebuilt from the journal on demand, printed as the monthly
// hours timesheet and exported to a workbook.
class ShiftSheetWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ShiftSheetWindow(DataModule &dataModule, QWidget *parent = nullptr);

    // "Табель по сменам": the month of `date`, shown modally; the shift
    // datasets are closed again when the window closes.
    void openForMonth(const QDate &date);
    // Chooses the month (item index 0..11) and year and reads the month.
    void choose(int monthIndex, int year);
    MonthPeriod period() const;

    void monthChanged();  // either chooser changed: the three shifts read again
    void rebuild();       // "Перестроить"
    void exportToExcel(); // "Excel"
    void refresh();       // "Обновить"
    void print();         // "Печать"

    // Where "Excel" saves its workbooks; empty means the writer's own folder.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }
    // Shows a report; report::preview unless replaced (tests).
    using Previewer = std::function<void(const report::Report &, QWidget *)>;
    void setPreviewer(Previewer previewer) { m_previewer = std::move(previewer); }

    DataGrid *grid(int shift) const { return m_grids.at(std::size_t(shift - 1)); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void openSheets();
    void closeSheets();
    QVariant dayCellRole(int shift, const Dataset &dataset, int row, int day, int role) const;

    DataModule &m_data;
    ShiftSheetStore m_store;
    std::array<DataGrid *, 3> m_grids{};
    std::array<std::unique_ptr<DayColumns>, 3> m_days;
    QTabWidget *m_tabs = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_year = nullptr;
    QPushButton *m_rebuild = nullptr;
    QPushButton *m_excel = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_exit = nullptr;
    QProgressBar *m_progress = nullptr;
    QString m_exportFolder;
    Previewer m_previewer;
};

} // namespace kordel
