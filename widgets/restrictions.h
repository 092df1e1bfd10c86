#pragma once

#include "core/roles.h"

class QWidget;

namespace kordel {

// Disables the role's controls in a window found by its objectName; top
// menus are disabled through their menu action.  A grid stays readable: it
// only refuses double-clicks and its context menu.
void applyRestrictions(Role role, QWidget *window);

} // namespace kordel
