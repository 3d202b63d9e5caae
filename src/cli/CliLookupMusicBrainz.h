#pragma once

#include "cli/CliCommand.h"

namespace Orbisong::Cli {

// "lookup musicbrainz": the releases the service names for a table of contents.
// Functions rather than constants: the lookup command's texts are built from them while the
// program's statics are made.
QString musicBrainzLookupSynopsis();
QString musicBrainzLookupDetails();
int lookupMusicBrainz(Context &c, QStringList args);

} // namespace Orbisong::Cli
