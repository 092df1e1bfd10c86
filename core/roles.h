#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kordel {

enum class Role { None, Administrator, Payroll, Foremen, Warehouse };

// The role of a login code: blanks at both ends ignored, letters compared
// exactly.
Role roleForCode(const QString &typed);

// What each role may not use, by window and control name.  Every window that
// a role restricts is listed here and nowhere else.
QStringList disabledControls(Role role, const QString &windowName);
// The acceptance mark the daily journal never lists: the login sets it as
// the journal queries' filter for every role.
QString journalHiddenMark();
// A double-click on the daily journal toggles a row's acceptance, except
// for the foremen.
bool mayToggleAcceptance(Role role);

// The product kind a role's reports are fixed to (index of the kind choice).
std::optional<int> fixedReportKind(Role role);

} // namespace kordel
