#pragma once

#include "core/monthlock.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace kordel {

// One calendar month as the timesheet statements see it: a half-open
// interval [first, next), with the last day for the statements that take an
// inclusive upper bound.  Bound to the statements as dates.
struct MonthPeriod
{
    int month = 1; // 1..12
    int year = 2000;
    QDate first;
    QDate next;
    QDate last;

    // monthIndex is the month chooser's item index, 0..11.
    static MonthPeriod of(int monthIndex, int year);
    static MonthPeriod containing(const QDate &date);

    int days() const { return first.daysInMonth(); }
    // Saturdays and Sundays; false past the end of the month.
    bool isWeekend(int day) const;
    bool isPastEnd(int day) const { return day > days(); }
    // "Март 2024 г." as the printed timesheets head their pages.
    QString label() const;
};

// The month's lock of the hours timesheet (core/monthlock.h): a month
// rebuild takes it exclusively, the hours upkeep shares it.
inline qint64 monthLockKey(const MonthPeriod &period)
{
    return monthLockKey(period.month, period.year);
}

// "Январь".."Декабрь", the items of every month chooser.
QStringList monthNames();
// The years of the shift timesheet's fixed list: 2007 to next year, so the
// list never runs out.
QList<int> fixedYears(const QDate &today = QDate::currentDate());

} // namespace kordel
