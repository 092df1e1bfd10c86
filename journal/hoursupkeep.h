#pragma once

#include <QDate>
#include <QList>
#include <QtGlobal>

namespace kordel {

class DataModule;

// Keeps the monthly hours timesheet (accounts_dep.h_tabel) in step with the
// detail tables: recomputes one worker's hours of one day and writes them
// into that day's cell of the month's row.  Shift rows are keyed by worker,
// shift, month and year and summed from the journal; household rows by
// worker, kind, night flag, nomenclature group, month and year, summed from
// accounts_dep.fatigue.
//
// Each call runs in one Transaction, which joins the caller's own when there
// is one, so a write and its upkeep can stand or fall together.
class HoursUpkeep
{
public:
    enum class Mode {
        Upsert,     // update the row, or insert it when the month has none yet
        UpdateOnly, // a missing row stays missing
    };

    explicit HoursUpkeep(DataModule &dataModule);

    // Throws DbError.
    void shiftHours(int worker, int shift, const QDate &date, Mode mode);
    void householdHours(int worker, int kind, int night, qint64 group, const QDate &date, Mode mode);

    // One day cell of a worker's shift row.
    struct ShiftDay
    {
        int worker = 0;
        int shift = 0;
        QDate date;
    };
    // After journal rows of many days went at once: every given day cell is
    // recomputed from the journal rows that remain, update-only, in one
    // statement under the same locks as shiftHours().  Throws DbError.
    void shiftDaysUpdateOnly(const QList<ShiftDay> &days);

    // "d1".."d31"; the only piece of the statements composed on the client.
    static QString dayColumn(int day);

private:
    DataModule &m_data;
};

} // namespace kordel
