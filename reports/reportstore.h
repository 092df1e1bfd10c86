#pragma once

#include "db/decimal.h"

#include <QDate>
#include <QList>
#include <QString>

namespace kordel::reports {

// The period of the reports window: "с" inclusive, "по" exclusive.
struct Period
{
    QDate from;
    QDate to;

    // The calendar month before the one of `today`.
    static Period previousMonth(const QDate &today);
};

// The choice "Вид продукции": all rows, finished products (naimen 0) or
// blanks (naimen 1).  It filters the report rows only; the household sums
// carried by the rows are the worker's whatever the kind.
enum class ProductKind { All = 0, Finished = 1, Blanks = 2 };
bool kindAccepts(ProductKind kind, int naimen);
// "Готовая продукция" for naimen 0, otherwise "Заготовки".
QString kindText(int naimen);

// One row of the per-worker detailed report: a worker's product and
// operation, with the worker's household figures of the period.
struct WorkerDetailRow
{
    int workerId = 0;
    QString fio;
    QString marka;
    QString vid;
    int naimen = 0;
    int color = 0;
    Decimal hours;    // sum_time
    Decimal quantity; // kolvo, rejects included
    Decimal rejects;  // brk
    Decimal amount;   // summa
    // Household works (7777, 7782, 7783) and average piecework (7778), day
    // and night: money and hours.
    Decimal household, householdNight, average, averageNight;
    Decimal householdHours, householdNightHours, averageHours, averageNightHours;
};

// One row of the detailed product report.
struct ProductDetailRow
{
    QString nom;
    QString marka;
    QString vid;
    int naimen = 0;
    int color = 0;
    Decimal quantity; // kolvo, rejects included
    Decimal rejects;
    Decimal amount;
    Decimal boxes; // mass: massa times kolvo, two places
};

// One row of the per-worker report: a worker's operation kind within a
// nomenclature group, with the worker's household money in that group and
// in all.
struct WorkerSummaryRow
{
    int workerId = 0;
    QString fio;
    QString nom;
    QString nomId; // the group's id as text; empty without a group
    QString vid;
    int naimen = 0;
    int color = 0;
    Decimal quantity; // good pieces
    Decimal amount;
    Decimal household; // f_sum7: household works in this group
    Decimal average;   // f_sum8: average piecework in this group
    Decimal allOwn;    // f_sum78: every household record of the worker
};

// One row of the product report and of the product summary workbook.
struct ProductSummaryRow
{
    QString nom;
    QString vid;
    int naimen = 0;
    int color = 0;
    Decimal quantity; // good pieces
    Decimal boxes;    // mass
};

// Household money of all workers in the period.
struct HouseholdTotals
{
    Decimal household; // f_sum7_all
    Decimal average;   // f_sum8_all
};

// The statements of the reports window.  Every value is bound; rows are
// read in the reports' order and filtered by the product kind.  Errors are
// thrown as DbError.
class ReportStore
{
public:
    explicit ReportStore(const QString &connectionName) : m_connection(connectionName) {}

    QList<WorkerDetailRow> workerDetail(const Period &period, ProductKind kind) const;
    QList<ProductDetailRow> productDetail(const Period &period, ProductKind kind) const;
    QList<WorkerSummaryRow> workerSummary(const Period &period, ProductKind kind) const;
    // The product report's rows in its order (good pieces, boxes rounded
    // to two places).
    QList<ProductSummaryRow> productSummary(const Period &period, ProductKind kind) const;
    // The rows of the product summary workbook (boxes not rounded).
    QList<ProductSummaryRow> productWorkbook(const Period &period, ProductKind kind) const;
    HouseholdTotals householdTotals(const Period &period) const;

private:
    QString m_connection;
};

} // namespace kordel::reports
