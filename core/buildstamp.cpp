#include "core/buildstamp.h"

#include <QByteArray>
#include <QList>

namespace kordel {

BuildStamp BuildStamp::fromCompilerText(const char *date, const char *time)
{
    static const QList<QByteArray> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QByteArray d(date);
    const QByteArray t(time);
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }; // a blank counts 0

    BuildStamp stamp;
    const int month = int(months.indexOf(d.left(3))) + 1;
    const int day = 10 * digit(d.at(4)) + digit(d.at(5));
    const int year = d.mid(7, 4).toInt();
    stamp.dateNumber = year * 10000 + month * 100 + day;
    stamp.seconds = 36000 * digit(t.at(0)) + 3600 * digit(t.at(1)) + 600 * digit(t.at(3)) +
                    60 * digit(t.at(4)) + 10 * digit(t.at(6)) + digit(t.at(7));
    return stamp;
}

} // namespace kordel
