#pragma once

#include "widgets/datasetmodel.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QDateEdit;

namespace kordel {

class DataGrid;
class HouseholdEntryWindow;
class HouseholdStore;

// The columns of a day's household records, in the journal and in the
// average-piecework pick of a distribution.
QList<GridColumn> householdListColumns();

// "Хоз. работы (25)": the household records of one day, their entry and
// deletion with the timesheet kept in step, and the month's
// average-piecework rate.
class HouseholdJournalWindow : public QDialog
{
    Q_OBJECT

public:
    HouseholdJournalWindow(HouseholdStore &store, HouseholdEntryWindow &entry, QWidget *parent = nullptr);

    // Opened from the daily journal on its date; the day-off box keeps its
    // state, since the date is set without the date-change rule.
    void open(const QDate &date);

    QDate date() const;
    bool isDayOff() const;
    // The date picked by the user: weekends are days off, then the list.
    void chooseDate(const QDate &date);

    void addRecord();          // "Добавить"
    void changeRecord();       // "Изменить", double-click
    void deleteRecord();       // "Удалить"
    void computeAverageRate(); // "Расчитать ср.сд."

private:
    void reload(); // the list of the date, at its first record
    void markDayOff(bool ticked);

    HouseholdStore &m_store;
    HouseholdEntryWindow &m_entry;
    int m_shift = 1; // shift of new records
    bool m_settingDate = false;
    QDateEdit *m_date = nullptr;   // DTPcker1
    QCheckBox *m_dayOff = nullptr; // CBox1
    DataGrid *m_grid = nullptr;    // DBGrid1
};

} // namespace kordel
