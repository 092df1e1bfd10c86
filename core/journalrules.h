#pragma once

#include "db/command.h"

#include <QDate>
#include <QString>

namespace kordel {

class DataModule;

namespace journal {

// Saturdays and Sundays are paid as days off.
bool isWeekend(const QDate &date);
// The reports' default period: from the first day of the previous month to
// the first day of this month.
struct Period
{
    QDate from;
    QDate to;
};
Period previousMonth(const QDate &today);

// Acceptance of journal rows by the payroll office and administrators.
class Acceptance
{
public:
    explicit Acceptance(DataModule &data);
    // "ok" and "да" are accepted marks; any other becomes accepted.
    static QString toggled(const QString &mark);
    // Writes the toggled mark of the row as last read; throws DbError.
    QString toggle(int rowId, const QString &currentMark);

private:
    Command m_update; // updtOK
};

} // namespace journal
} // namespace kordel
