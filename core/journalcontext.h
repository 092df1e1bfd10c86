#pragma once

#include <QDate>
#include <QString>

namespace kordel {

class Dataset;

// What the windows opened from the daily journal read from it: the shift and
// date being entered, the day-off box, and the journal of the current shift.
class JournalContext
{
public:
    virtual ~JournalContext() = default;
    virtual int currentShift() const = 0;
    virtual QDate journalDate() const = 0;
    virtual bool isDayOff() const = 0;
    // The journal query of the current shift (Smena1..Smena4).
    virtual Dataset &currentJournal() = 0;
    virtual QString roleText() const = 0;
};

} // namespace kordel
