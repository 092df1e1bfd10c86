#include "timesheets/period.h"

using namespace Qt::StringLiterals;

namespace kordel {

MonthPeriod MonthPeriod::of(int monthIndex, int year)
{
    MonthPeriod p;
    p.month = qBound(0, monthIndex, 11) + 1;
    p.year = year;
    p.first = QDate(year, p.month, 1);
    p.next = p.first.addMonths(1);
    p.last = p.next.addDays(-1);
    return p;
}

MonthPeriod MonthPeriod::containing(const QDate &date)
{
    return of(date.month() - 1, date.year());
}

bool MonthPeriod::isWeekend(int day) const
{
    if (day < 1 || isPastEnd(day))
        return false;
    return first.addDays(day - 1).dayOfWeek() >= Qt::Saturday;
}

QString MonthPeriod::label() const
{
    return monthNames().at(month - 1) + u' ' + QString::number(year) + u" г."_s;
}

QStringList monthNames()
{
    return {u"Январь"_s, u"Февраль"_s, u"Март"_s,     u"Апрель"_s,  u"Май"_s,    u"Июнь"_s,
            u"Июль"_s,   u"Август"_s,  u"Сентябрь"_s, u"Октябрь"_s, u"Ноябрь"_s, u"Декабрь"_s};
}

QList<int> fixedYears(const QDate &today)
{
    QList<int> years;
    for (int y = 2007; y <= today.year() + 1; ++y)
        years.append(y);
    return years;
}

} // namespace kordel
