#include "app/programicon.h"

using namespace Qt::StringLiterals;

namespace kordel {

QIcon programIcon()
{
    return QIcon(u":/tabel.png"_s);
}

} // namespace kordel
