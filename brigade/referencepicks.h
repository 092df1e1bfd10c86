#pragma once

#include "brigade/distributionstore.h"
#include "db/dataset.h"

#include <QDate>
#include <optional>

namespace kordel {

class DataModule;

// Where a distribution's reference earnings come from: what every worker
// earned in the journal on a date and shift (per operation kind or per
// worker), and the day's household records.
class ReferencePicks
{
public:
    explicit ReferencePicks(DataModule &dataModule);
    ReferencePicks(const ReferencePicks &) = delete;
    ReferencePicks &operator=(const ReferencePicks &) = delete;

    // Parameters i_smena and d_date.  Fields p_fio, w_id, f_summ, t_time,
    // vid, naimen, color, data, smena, v_id.
    static QString byOperationSql();
    static QString byWorkerSql();

    Dataset &journal() { return m_journal; }     // "painting"
    Dataset &household() { return m_household; } // "fatigue"

    void openJournal(bool byOperation, int shift, const QDate &date);
    void openHousehold(const QDate &date);

    // A journal row's earnings per hour, to two places (halves to even);
    // nothing when the row has no hours.
    static std::optional<ReferenceRow> fromJournal(int worker, int kind, const Decimal &money,
                                                   const Decimal &hours);
    // A household record's hourly price, to two places (halves to even), for
    // its hours; nothing when it has no hours.
    static std::optional<ReferenceRow> fromHousehold(int worker, int kind, const Decimal &price, int hours);

private:
    Dataset m_journal;
    Dataset m_household;
};

} // namespace kordel
