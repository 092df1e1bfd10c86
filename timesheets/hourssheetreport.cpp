#include "timesheets/hourssheetreport.h"

#include "widgets/excelwriter.h"

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

QString dayText(const std::optional<int> &hours)
{
    return hours ? QString::number(*hours) : QString();
}

} // namespace

report::Report hoursSheetReport(const MonthPeriod &period, const QList<MonthHoursLine> &lines)
{
    report::Report r;
    r.pageHeader = period.label();
    r.name = u"Табель "_s + monthNames().at(period.month - 1) + u' ' + QString::number(period.year);
    r.orientation = QPageLayout::Landscape;
    r.captionsOnEveryPage = true;
    r.ruled = true;
    // On A4 landscape a day takes about 7 mm, room for "31" in bold; the
    // name gets about 47 mm, enough for "Константинопольский К.К.", and the
    // total room for its caption "Итого" in bold.
    r.columns.append({QString(), 7, Qt::AlignLeft | Qt::AlignVCenter});
    for (int day = 1; day <= 31; ++day)
        r.columns.append({QString::number(day), 1, Qt::AlignCenter});
    r.columns.append({u"Итого"_s, 2.2, Qt::AlignCenter});
    r.lines.reserve(lines.size());
    for (const MonthHoursLine &line : lines) {
        report::Line out;
        out.cells.reserve(33);
        out.cells << line.fio;
        for (const auto &day : line.days)
            out.cells << dayText(day);
        out.cells << QString::number(line.total());
        r.lines.append(std::move(out));
    }
    return r;
}

bool writeHoursSheet(ExcelWriter &writer, const MonthPeriod &period, const QList<MonthHoursLine> &lines,
                     const std::function<void(int written)> &rowWritten)
{
    if (writer.open(QString()) == -1)
        return false;
    writer.setVisible(false);
    if (rowWritten)
        rowWritten(0);
    writer.writeFormattedCell(
        1, 1, 1, monthNames().at(period.month - 1) + u' ' + QString::number(period.year), true, true, true);
    writer.writeFormattedCell(1, 1, 2, u"Фамилия И.О."_s, true, true, true);
    for (int day = 1; day <= 31; ++day)
        writer.writeFormattedCell(1, day + 1, 2, QString::number(day), false, true, true);
    writer.writeFormattedCell(1, 33, 2, u"Итого"_s, true, true, true);

    int row = 3;
    int written = 0;
    for (const MonthHoursLine &line : lines) {
        writer.writeFormattedCell(1, 1, row, line.fio, true, true, false);
        for (int day = 0; day < 31; ++day)
            writer.writeFormattedCell(1, day + 2, row, dayText(line.days[std::size_t(day)]), false, true,
                                      false);
        writer.writeFormattedCell(1, 33, row, QString::number(line.total()), false, true, false);
        ++row;
        if (rowWritten)
            rowWritten(++written);
    }
    return writer.setVisible(true) == 1;
}

} // namespace kordel
