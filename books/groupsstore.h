#pragma once

#include "core/outcome.h"
#include "db/command.h"
#include "db/dataset.h"

#include <QString>

namespace kordel {

class DataModule;

// Statements and rules of the nomenclature groups: the level-2 rows of the
// shared classifier cmn_classifier.item.
class GroupsStore
{
public:
    explicit GroupsStore(DataModule &dataModule);

    // Query "item": every group by name, with "V" in s_excl for a group not in use.
    Dataset &list() { return m_item; }

    // What refers to a group (query item_gds).
    struct Usage
    {
        int products = 0;      // cnt_gds
        int householdRows = 0; // cnt_f
        int journalRows = 0;   // cnt_s: journal rows of the group's products
    };
    Usage usage(int id) const;

    // The name is stored trimmed; the database makes a new row a group.
    // Both throw DbError.
    int add(const QString &caption, bool excluded);
    void change(int id, const QString &caption, bool excluded);

    // "Удалить": refused while products, household rows or journal rows
    // refer to the group (the window shows the refusal with caption
    // "Удаление"), else the window asks once.
    Check checkDelete(int id) const;
    void remove(int id);

private:
    DataModule &m_data;
    Dataset m_item;
    Command m_write;
};

} // namespace kordel
