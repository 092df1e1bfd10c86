#pragma once

#include "db/dataset.h"

#include <QDate>
#include <QString>

class QWidget;

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
    // Writes a new product (id 0) or changes product `id`.  A refusal is
    // shown to the user with `parent` and nothing is written.  Throws DbError.
    Saved save(int id, const Fields &fields, QWidget *parent, int *newId = nullptr);

    int journalRows(int id, const QDate &from) const;
    int operations(int id) const;
    // "Удалить": asks about the operations, then about the product (and its
    // journal rows); what one "Yes" deletes is deleted whole or not at all.
    // True when anything was deleted.  Throws DbError.
    bool remove(int id, QWidget *parent, const QDate &today = QDate::currentDate());

private:
    DataModule &m_data;
    Dataset m_groups;
};

} // namespace kordel
