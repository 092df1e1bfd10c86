#pragma once

#include "core/outcome.h"

#include <QString>

namespace kordel {

class DataModule;
class Dataset;

// Operation kinds, accounts_dep.vid_oper, through the data module's
// Vid_oper: the reserved kinds, the pick filter, the duplicate tests and
// the writes.
class KindsStore
{
public:
    // Kinds from this id up are handled specially elsewhere; a pick offers
    // only the kinds below it.
    static constexpr int FirstReservedId = 7776;

    explicit KindsStore(DataModule &dataModule);

    Dataset &kinds() const;

    // Household and average-piecework kinds: never changed nor picked.
    static bool isLockedForChange(int id);
    // Those and the hanging kind 7784: never deleted.
    static bool isLockedForDelete(int id);

    // The pick list: ordinary kinds only, whose names begin with the text.
    void setPickFilter(const QString &text);
    void switchFilterOff();

    // Duplicate tests without regard to letter case; refused with
    // "Такая операция уже заведена!".
    Check checkNewName(const QString &name) const;
    Check checkRename(int id, const QString &name) const;
    // A kind that operations use would take them out of the price list, the
    // picks and, with their journal rows, the daily journal: refused.
    Check checkDelete(int id) const;

    // Names are stored trimmed.  add() returns the new id.
    int add(const QString &name);
    void rename(int id, const QString &name);
    // Deletes the kind unless operations use it (tested again in the same
    // statement); refused as checkDelete() refuses.
    Check remove(int id);

private:
    DataModule &m_data;
};

} // namespace kordel
