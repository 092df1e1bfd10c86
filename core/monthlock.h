#pragma once

#include <QString>

namespace kordel {

// A month of the hours timesheet is rebuilt as a whole while single day
// cells are kept by the hours upkeep of every workstation.  Both take a
// transaction-scoped advisory lock on the month: the upkeep shared, so
// upkeeps never wait for each other, the rebuild exclusively, so it never
// meets an upkeep half way and no cell is lost or doubled.  Both throw
// DbError and hold the lock until their transaction ends.
void shareMonth(const QString &connectionName, int month, int year);
// The key both take, for statements that lock the month themselves.
qint64 monthLockKey(int month, int year);
void holdMonth(const QString &connectionName, int month, int year);

} // namespace kordel
