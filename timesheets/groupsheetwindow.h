#pragma once

#include "timesheets/groupsheetstore.h"

#include <QDate>
#include <QDialog>

class QComboBox;
class QPushButton;

namespace kordel {

class DataModule;
class GroupedGrid;
class YearLookup;

// The household-work (mode 7777) or average-piecework (mode 7778) timesheet
// by nomenclature group (Form31): the workers of each group with their day
// and night rows, a footer with the group's earnings.
class GroupSheetWindow : public QDialog
{
    Q_OBJECT

public:
    explicit GroupSheetWindow(DataModule &dataModule, QWidget *parent = nullptr);

    // A menu command: `kind` 7777 or 7778, the month of `reference`.
    void openMode(int kind, const QDate &reference = QDate::currentDate());
    void prepare(int kind, const QDate &reference);
    void finish();

    int mode() const { return m_kind; }
    Dataset &currentSheet() const { return m_store.sheet(m_kind); }
    GroupedGrid *grid() const { return m_grid; }
    MonthPeriod period() const;
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    void monthChanged();
    void refresh();       // "Обновить"
    void exportToExcel(); // "Excel"

    void done(int result) override;

private:
    DataModule &m_data;
    GroupSheetStore m_store;
    int m_kind = 7778;
    MonthPeriod m_marked;

    GroupedGrid *m_grid = nullptr;
    QComboBox *m_month = nullptr;
    YearLookup *m_year = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_excel = nullptr;
    QPushButton *m_exit = nullptr;
    QString m_exportFolder;
};

// The general payroll timesheet (Form30): each worker's earnings of the month
// by nomenclature group, with and without the regional coefficient.
class PayrollWindow : public QDialog
{
    Q_OBJECT

public:
    explicit PayrollWindow(DataModule &dataModule, QWidget *parent = nullptr);

    void openFor(const QDate &reference = QDate::currentDate());
    void prepare(const QDate &reference);
    void finish();

    Dataset &payroll() const { return m_store.payroll(); }
    GroupedGrid *grid() const { return m_grid; }
    MonthPeriod period() const;
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    void monthChanged();
    void exportToExcel(); // "Excel"

    void done(int result) override;

private:
    DataModule &m_data;
    GroupSheetStore m_store;

    GroupedGrid *m_grid = nullptr;
    QComboBox *m_month = nullptr;
    YearLookup *m_year = nullptr;
    QPushButton *m_excel = nullptr;
    QPushButton *m_exit = nullptr;
    QString m_exportFolder;
};

} // namespace kordel
