#pragma once

#include "core/outcome.h"
#include "db/command.h"
#include "db/dataset.h"

#include <QDate>
#include <QString>

namespace kordel {

class DataModule;

// Statements and rules of the products book.  Products are written into the
// shared goods table and read back through accounts_dep.izdel (Izdel).
class ProductsStore
{
public:
    explicit ProductsStore(DataModule &dataModule);

    // The data module's Izdel: every product, ordered by mark.
    Dataset &products() const;
    // The groups a product may be given: level-2 groups in use, by name.
    Dataset &groups() { return m_groups; }

    // Service products of the household works and the average piecework:
    // they cannot be changed, picked or deleted.
    static bool isReserved(int id);
    // The first day from which the journal rows of a product are counted
    // before its deletion: the first of the previous month of the year 2000
    // (in January, 1 December 2000).
    static QDate journalCountFrom(const QDate &today);

    struct Fields
    {
        QString mark;  // as typed; stored trimmed
        QString massa; // "Расценка" as typed: digits with "." or ","
        int groupId = 0;
    };
    enum class Saved { Written, Incomplete, NotANumber, Duplicate };
    struct SaveOutcome
    {
        Saved status = Saved::Written;
        Check check = Check::passed(); // the refusal the window shows
        int id = 0;                    // the written product
    };
    // Writes a new product (id 0) or changes product `id`; a refusal writes
    // nothing.  Throws DbError.
    SaveOutcome save(int id, const Fields &fields);

    int journalRows(int id, const QDate &from) const;
    int operations(int id) const;

    // What "Удалить" would take with it, for the questions the window asks.
    struct DeletePlan
    {
        bool allowed = false; // reserved products are never deleted
        int operations = 0;   // the product's operations
        int journalRows = 0;  // its journal rows since journalCountFrom()
    };
    DeletePlan deletePlan(int id, const QDate &today = QDate::currentDate()) const;
    // The user's answers: delete the operations; delete the product with
    // its journal rows.
    struct DeleteAnswers
    {
        bool operations = false;
        bool product = false;
    };
    // Deletes what the answers allow, all in one transaction.  Without the
    // product, only the operations no journal row uses go, so no journal row
    // is left without its operation; with the product go its journal rows,
    // and the hours of the days they counted in are recomputed.  True when
    // anything was deleted.  Throws DbError.
    bool remove(int id, const DeleteAnswers &answers);

private:
    DataModule &m_data;
    Dataset m_groups;
    Command m_write;
};

} // namespace kordel
