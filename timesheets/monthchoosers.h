#pragma once

#include "timesheets/period.h"

#include <QComboBox>

namespace kordel {

class DataGrid;
class Dataset;

// The month chooser "ComboBox1" of every timesheet window: twelve months,
// not typed into, the first selected.
QComboBox *makeMonthChooser(QWidget *parent);

// The year lookup "cb_year": the years that have hours timesheet rows
// (q_year).  A year without rows can still be chosen; it then shows no text.
class YearLookup : public QComboBox
{
    Q_OBJECT

public:
    explicit YearLookup(QWidget *parent = nullptr);

    // Reads q_year again; throws DbError.
    void reload(const QString &connectionName);
    void setYear(int year);
    // 0 when no year is chosen.
    int year() const { return m_year; }

Q_SIGNALS:
    // The user chose a year from the list.
    void yearChosen(int year);

private:
    int m_year = 0;
};

// How a window marks the day columns past the end of the month.
enum class DayMarking {
    Shift,             // grid cells in the background colour, silver title
    Piecework,         // hidden, the name column widened by 20 pixels each
    NomenclatureGroup, // background-coloured cells, silver title, still shown
};

// Colours the 31 day columns of a grid (titles "1".."31" after `leading`
// columns) for a month: weekend days red, days past the end per variant.
// A window's own cell styler asks cellForeground() for the day columns.
class DayColumns
{
public:
    DayColumns(DataGrid *grid, int leading, DayMarking variant);

    void mark(const MonthPeriod &period);
    const MonthPeriod &period() const { return m_period; }
    // The day of a grid column, 0 for the leading and trailing columns.
    int dayOf(int gridColumn) const;
    // Red on weekends, the background colour past the end; invalid otherwise.
    QVariant cellForeground(int gridColumn) const;
    QVariant titleForeground(int gridColumn) const;

private:
    DataGrid *m_grid;
    int m_leading;
    DayMarking m_variant;
    MonthPeriod m_period;
    bool m_marked = false;
};

} // namespace kordel
