#pragma once

#include <QString>

namespace kordel {

// Which build of the client this is: the compile date as YYYYMMDD and the
// compile time as seconds of the day.
struct BuildStamp
{
    int dateNumber = 0;
    int seconds = 0;

    // From the compiler's texts, e.g. "Dec 26 2024" (day padded with a blank)
    // and "19:03:53".
    static BuildStamp fromCompilerText(const char *date, const char *time);
    // The stamp of this executable.
    static BuildStamp current();

    // True when this build is newer than the stamp stored in the database.
    bool isNewerThan(int storedDate, int storedSeconds) const
    {
        return storedDate < dateNumber || (storedDate == dateNumber && storedSeconds < seconds);
    }
    // "20241226.68633"
    QString text() const { return QString::number(dateNumber) + u'.' + QString::number(seconds); }
};

} // namespace kordel
