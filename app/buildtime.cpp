#include "core/buildstamp.h"

namespace kordel {

// Kept apart so that the stamp is taken when the client itself is compiled.
BuildStamp BuildStamp::current()
{
    return fromCompilerText(__DATE__, __TIME__);
}

} // namespace kordel
