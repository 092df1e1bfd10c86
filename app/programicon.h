#pragma once

#include <QIcon>

namespace kordel {

// The client's icon, on every window and in the desktop menu.
QIcon programIcon();

} // namespace kordel
