#include "core/roles.h"

using namespace Qt::StringLiterals;

namespace kordel {

Role roleForCode(const QString &typed)
{
    const QString code = typed.trimmed();
    if (code == u"61730482"_s || code == u"4927"_s)
        return Role::Administrator;
    if (code == u"plutar"_s)
        return Role::Payroll;
    if (code == u"wendrix"_s)
        return Role::Foremen;
    if (code == u"torvu"_s)
        return Role::Warehouse;
    return Role::None;
}

QStringList disabledControls(Role role, const QString &windowName)
{
    // Main window: buttons, shift choice, day off, refresh, grid, date, menus.
    if (windowName == u"Form1"_s) {
        switch (role) {
        case Role::Administrator:
        case Role::None:
            return {};
        case Role::Payroll:
            return {u"Button1"_s,      u"Button2"_s,      u"Button3"_s, u"RadioButton1"_s, u"RadioButton2"_s,
                    u"RadioButton3"_s, u"RadioButton4"_s, u"CBox1"_s,   u"Button8"_s,      u"DBGrid2"_s,
                    u"N2"_s,           u"N11"_s,          u"DateT"_s};
        case Role::Foremen:
            return {u"Button2"_s, u"Button3"_s, u"N2"_s, u"N11"_s};
        case Role::Warehouse:
            return {u"Button1"_s, u"Button2"_s, u"Button3"_s, u"N2"_s, u"N11"_s};
        }
    }
    // Reports window: everything but the detailed product report.
    if (windowName == u"Form18"_s && (role == Role::Foremen || role == Role::Warehouse)) {
        QStringList names{u"Button1"_s, u"Button2"_s, u"Button4"_s, u"Button6"_s};
        if (role == Role::Warehouse)
            names << u"RadioGroup1"_s;
        return names;
    }
    return {};
}

QString journalHiddenMark()
{
    return u"ta"_s;
}

bool mayToggleAcceptance(Role role)
{
    return role != Role::Foremen;
}

std::optional<int> fixedReportKind(Role role)
{
    if (role == Role::Warehouse)
        return 1; // "Готовая продукция"
    return std::nullopt;
}

} // namespace kordel
