#include "timesheets/shiftsheetstore.h"

#include "core/datamodule.h"
#include "core/monthlock.h"
#include "db/command.h"
#include "db/dataset.h"
#include "db/transaction.h"

using namespace Qt::StringLiterals;

namespace kordel {

int MonthHoursLine::total() const
{
    int sum = 0;
    for (const auto &day : days)
        sum += day.value_or(0);
    return sum;
}

ShiftSheetStore::ShiftSheetStore(DataModule &dataModule) : m_data(dataModule) {}

QStringList ShiftSheetStore::rebuildStatements()
{
    // Each day column sums the day's hours with a filter on the date itself:
    // comparing dates is cheap, where extracting day numbers 31 times a row
    // is not.  Days past the month's end match no row and stay empty.
    QStringList columns;
    QStringList cells;
    for (int day = 1; day <= 31; ++day) {
        columns << u"d"_s + QString::number(day);
        cells << u"sum(s.time) filter (where s.data = :first::date + "_s + QString::number(day - 1) + u')';
    }
    return {
        u"delete from accounts_dep.h_tabel where smena>0 and month=:m and year=:y"_s,
        u"insert into accounts_dep.h_tabel(smena, w_id, month, year, "_s + columns.join(u", "_s) +
            u")\nselect s.smena, s.w_id, :m, :y,\n"_s + cells.join(u",\n"_s) +
            u"\nfrom accounts_dep.smena s\n"
            "where s.data >= :first::date and s.data < :next::date and s.smena > 0 and s.w_id is not null\n"
            "group by s.smena, s.w_id"_s,
    };
}

int ShiftSheetStore::rebuild(const MonthPeriod &period, const Progress &progress)
{
    const QString connection = m_data.connectionName();
    const Params params{
        {u"m"_s, period.month}, {u"y"_s, period.year}, {u"first"_s, period.first}, {u"next"_s, period.next}};
    const QStringList statements = rebuildStatements();
    auto step = [&](int n) {
        if (progress)
            progress(n);
    };

    Transaction transaction(connection);
    step(1);
    holdMonth(connection, period.month, period.year);
    m_data.delSmena().run(statements.at(0), params);
    step(2);
    const int written = m_data.hoursCommand().run(statements.at(1), params);
    step(3);
    transaction.commit();
    return written;
}

QString ShiftSheetStore::monthHoursSql()
{
    QStringList sums;
    for (int day = 1; day <= 31; ++day)
        sums << u"sum(d%1) as sd%1"_s.arg(day);
    // Grouped by the person, not by the name alone: two workers of the same
    // name keep their own lines.
    return u"select person.s_caption fio, "_s + sums.join(u", "_s) +
           u"\nfrom accounts_dep.h_tabel, cmn_contractor.person person\n"
           "where h_tabel.w_id=person.s_code::integer and month=:mnth and year=:yea\n"
           "group by person.id, person.s_caption order by fio, person.id"_s;
}

QList<MonthHoursLine> ShiftSheetStore::monthHours(const MonthPeriod &period)
{
    Dataset hours(m_data.connectionName(), u"H_Tabel"_s, monthHoursSql());
    hours.setParam(u"mnth"_s, period.month);
    hours.setParam(u"yea"_s, period.year);
    hours.open();
    QList<MonthHoursLine> lines;
    lines.reserve(hours.recordCount());
    const int fio = hours.fieldIndex(u"fio"_s);
    const int sd1 = hours.fieldIndex(u"sd1"_s);
    for (int row = 0; row < hours.recordCount(); ++row) {
        MonthHoursLine line;
        line.fio = hours.valueAt(row, fio).toString();
        for (int day = 0; day < 31; ++day) {
            const QVariant cell = hours.valueAt(row, sd1 + day);
            if (!cell.isNull())
                line.days[std::size_t(day)] = cell.toInt();
        }
        lines.append(line);
    }
    return lines;
}

} // namespace kordel
