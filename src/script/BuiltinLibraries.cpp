#include "BuiltinLibraries.h"

#include "TQuillan.h"

namespace Orbisong {

void attachBuiltinLibraries(TQuillan &engine)
{
    Q_UNUSED(engine);
}

} // namespace Orbisong
