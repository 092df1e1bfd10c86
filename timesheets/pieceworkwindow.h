#pragma once

#include "timesheets/pieceworkstore.h"

#include <QDate>
#include <QDialog>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace kordel {

class DataGrid;
class DataModule;
class DayColumns;
class YearLookup;

// The piecework timesheet (Form27) in the mode its menu command chose: one
// row per worker (or worker and day/night) with the hours of each day, the
// month's hours, earnings and hourly rate; the month's totals; the rebuild of
// the month's household rows; the workbook of the sheet.
class PieceworkWindow : public QDialog
{
    Q_OBJECT

public:
    explicit PieceworkWindow(DataModule &dataModule, QWidget *parent = nullptr);
    ~PieceworkWindow() override;

    // A menu command: prepares the mode for the month of `reference`, shows
    // the window modally and puts the grid back when it closes.
    void openMode(PieceworkMode mode, const QDate &reference = QDate::currentDate());
    // The parts of openMode() before and after the modal run.
    void prepare(PieceworkMode mode, const QDate &reference);
    void finish();

    PieceworkMode mode() const { return m_mode; }
    PieceworkStore &store() { return m_store; }
    DataGrid *grid() const { return m_grid; }
    Dataset &currentSheet() const { return m_store.sheet(m_mode); }
    MonthPeriod period() const;

    // Where "Excel" saves its workbooks; empty means the writer's own folder.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    // The month or the year changed.
    void monthChanged();
    void rebuild();       // "Перестроить"
    void refresh();       // "Обновить"
    void exportToExcel(); // "Excel"

    void done(int result) override;

private:
    void showTotals();

    DataModule &m_data;
    PieceworkStore m_store;
    PieceworkMode m_mode = PieceworkMode::Piecework;

    DataGrid *m_grid = nullptr;
    std::unique_ptr<DayColumns> m_days;
    QComboBox *m_month = nullptr;
    YearLookup *m_year = nullptr;
    QLabel *m_average = nullptr;
    QLabel *m_household = nullptr;
    QLabel *m_piecework = nullptr;
    QLabel *m_all = nullptr;
    QPushButton *m_rebuild = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_excel = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_exit = nullptr;
    QString m_exportFolder;
};

} // namespace kordel
