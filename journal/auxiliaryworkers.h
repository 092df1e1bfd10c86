#pragma once

#include "db/dataset.h"
#include "db/decimal.h"

#include <QDate>
#include <QList>

namespace kordel {

class DataModule;

// Auxiliary workers of a journal entry: people paid by the hour a share of
// the entry's earnings.  They are listed in the scratch table
// accounts_dep.person_temp under the entry's row id until "Сохранить" turns
// each into a journal row of operation 7779, or the window closes and the
// list is discarded.
class AuxiliaryWorkers
{
public:
    // What the auxiliary rows take over from their entry.
    struct Entry
    {
        int rowId = 0;
        int product = 0;
        QDate date;
        int shift = 0;
        int colour = 0;
    };

    explicit AuxiliaryWorkers(DataModule &dataModule);
    AuxiliaryWorkers(const AuxiliaryWorkers &) = delete;
    AuxiliaryWorkers &operator=(const AuxiliaryWorkers &) = delete;

    // Money per hour: 0.7 of the entry's earnings on its good pieces over
    // its hours, to two decimals.  `hours` must be above 0.
    static Decimal hourlyShare(const Decimal &finalPrice, int quantity, int defects, int hours);

    // The list of one entry ("person"): pt_id, f_time, f_count (the worker's
    // amount), and the person's columns.
    Dataset &list() { return m_list; }
    // Reads the entry's list; row id 0 shows nothing.
    void openList(int rowId);

    // Throws DbError.
    void add(int rowId, int person, const Decimal &share, int hours);
    void removeListed(int scratchId);
    // Every listed worker becomes a journal row of the entry's product, date,
    // shift and colour, for his hours and hours × share; all or none.
    // Returns how many rows were written.
    int save(const Entry &entry, const QList<int> &scratchIds);
    // Drops the entry's unsaved list.
    void discard(int rowId);

private:
    DataModule &m_data;
    Dataset m_list;
};

} // namespace kordel
