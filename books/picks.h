#pragma once

#include "db/decimal.h"

#include <QString>

namespace kordel {

// What the reference books hand back to the window that opened them to pick.

struct WorkerPick
{
    int id = 0;
    QString name;  // trimmed full name
    int hours = 0; // hours typed in the hours prompt (auxiliary workers only)
};

struct ProductPick
{
    int id = 0;
    QString mark; // trimmed
};

struct KindPick
{
    int id = 0;
    QString name; // trimmed
};

struct GroupPick
{
    int id = 0;
    QString caption; // as stored, untrimmed
};

struct OperationPick
{
    int operationId = 0;
    int productId = 0;
    int naimen = 0;     // 0 finished product, 1 blank
    Decimal basePrice;  // the smallest norm price of the operation
    Decimal finalPrice; // with the day-off and shift factors applied
    QString text;       // "mark; kind; Готовая продукция|Заготовки"
};

} // namespace kordel
