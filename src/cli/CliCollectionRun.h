#pragma once

#include "cli/CliCommand.h"

namespace Orbisong {
class Collection;
}

namespace Orbisong::Cli {

// Runs `work` on the indexed collection of --home/--collection and writes every change before
// the command ends. A missing collection file is exit 1 unless `mayBeMissing`; a collection
// that cannot be written makes the command fail, whatever `work` returned.
int runOnCollection(Context &c, bool mayBeMissing,
                    const std::function<int(Context &, Collection &)> &work);

} // namespace Orbisong::Cli
