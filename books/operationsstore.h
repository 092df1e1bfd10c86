#pragma once

#include "core/outcome.h"
#include "db/decimal.h"

#include <QList>
#include <QString>
#include <optional>

namespace kordel {

class DataModule;

// The variants of the operation list, one statement with the same columns
// (marka, vid, naimen, s_caption, nmn, norma, cena, id, i_id, oper_vid).
enum class OperationList {
    // The book from the menu: every operation, also those still without a
    // norm row (norma 0, no price), so that an operation saved without its
    // first norm row can still be finished.
    Menu,
    // The data module's stored list: operations with their norm rows.
    Pick,
    // The entry window's pick: as Pick, without the hanging distribution,
    // whose rows the brigade window writes.
    EntryPick,
    // The workbook of "Excel": every operation with the other software's
    // price (cena is oper.cena_new), norm rows or not.
    Export,
};

// One norm row (price tier) of an operation; empty values are nulls.
struct NormRow
{
    int id = 0; // 0: not written yet
    std::optional<int> norma;
    std::optional<Decimal> price;
    std::optional<int> prize;
};

// One line of the price-list workbook.
struct PriceExportRow
{
    QString mark;
    QString kind;
    int naimen = 0;
    Decimal price; // cena_new
};

// Statements and rules of the price list: operations (product x kind x
// finished/blank) and their norm rows.
class OperationsStore
{
public:
    explicit OperationsStore(DataModule &dataModule) : m_data(dataModule) {}

    // Ids above 7776 belong to the rows other windows handle specially.
    static constexpr int reservedBoundary = 7776;
    static bool canChange(int operationId) { return operationId <= reservedBoundary; }
    static bool canPick(int operationId) { return operationId <= reservedBoundary; }
    static bool canDelete(int operationId);

    static QString listSql(OperationList list);

    // "Готовая продукция" / "Заготовки".
    static QString naimenText(int naimen);
    // The operation as the entry window shows it: "mark; kind; naimen text".
    static QString operationText(const QString &mark, const QString &kind, int naimen);
    // The piece price of a journal entry: doubled on a day off, then x1.2 in
    // shift 3 or x1.5 in overtime (shift 4).
    static Decimal finalPrice(const Decimal &basePrice, bool dayOff, int shift);

    QString productMark(int productId) const;

    // Duplicate test on (kind, naimen, product), the operation `exceptId`
    // itself left out (0: none).
    Check checkUnique(int kindId, int naimen, int productId, int exceptId) const;
    int insertOperation(int kindId, int naimen, int productId) const; // returns the new id
    void updateOperation(int operationId, int kindId, int naimen, int productId) const;
    // Journal rows of a deleted operation would drop out of the journal and
    // could no longer be corrected there: refused.
    Check checkNotInJournal(int operationId) const;
    void deleteOperation(int operationId) const;

    QList<PriceExportRow> exportRows() const;

    // Norm rows of one operation, by norma.
    QList<NormRow> normRows(int operationId) const;
    int insertNorm(int operationId, const NormRow &row) const; // returns the new id
    void updateNorm(const NormRow &row) const;
    // Deletes the row unless it is the operation's last one; false when refused.
    bool deleteNorm(int normId, int operationId) const;

    // Cell input of the norm grid; nullopt when the text is not acceptable.
    // A price may be typed with a comma or a point.
    static std::optional<Decimal> parsePrice(const QString &text);
    static std::optional<int> parseWhole(const QString &text);

private:
    DataModule &m_data;
};

} // namespace kordel
