#pragma once

#include <QString>

// The values the shared database gives a meaning to.  Other software reads
// the same rows, so these are fixed.
namespace kordel::vocabulary {

// Reserved ids of accounts_dep.vid_oper and accounts_dep.oper (7777, 7778,
// 7782 and 7783 also of accounts_dep.izdel).  Ordinary rows lie below
// FirstReserved.
inline constexpr int FirstReserved = 7776;
inline constexpr int HouseholdWork = 7777;    // "хоз. работы"
inline constexpr int AveragePiecework = 7778; // "ср. сдельная", price recomputed monthly
inline constexpr int AuxiliaryWorker = 7779;  // journal rows of an entry's auxiliary workers
inline constexpr int Painting = 7780;         // painting operator's pay, coefficient 1.2
inline constexpr int Brigade = 7781;          // brigade auxiliary worker's pay, coefficient 0.7
inline constexpr int HouseholdWork2 = 7782;
inline constexpr int HouseholdWork3 = 7783;
inline constexpr int Hanging = 7784; // "Навеска", coefficient 0.4; its hours may change later

// The household kinds of accounts_dep.fatigue.id_o and h_tabel.i_type.
inline constexpr int HouseholdKinds[] = {HouseholdWork, AveragePiecework, HouseholdWork2, HouseholdWork3};
inline constexpr bool isHouseholdKind(int id)
{
    return id == HouseholdWork || id == AveragePiecework || id == HouseholdWork2 || id == HouseholdWork3;
}

// Acceptance marks of accounts_dep.smena.ok: "ok" and "да" are accepted,
// "no" is not; "ta" is the foremen's journal filter value.
inline const QString MarkAccepted = QStringLiteral("ok");
inline const QString MarkAcceptedOld = QStringLiteral("да");
inline const QString MarkNew = QStringLiteral("no");
inline const QString MarkForemen = QStringLiteral("ta");
inline bool isAccepted(const QString &mark)
{
    return mark == MarkAccepted || mark == MarkAcceptedOld;
}

// accounts_dep.oper.naimen: 0 finished product, 1 blank.
inline constexpr int FinishedProduct = 0;
inline constexpr int Blank = 1;
inline const QString FinishedProductText = QStringLiteral("Готовая продукция");
inline const QString BlankText = QStringLiteral("Заготовки");

// Shifts of accounts_dep.smena and h_tabel: 1..3, 4 overtime ("Переработка"),
// 0 the household rows of h_tabel.
inline constexpr int HouseholdShift = 0;
inline constexpr int OvertimeShift = 4;

} // namespace kordel::vocabulary
