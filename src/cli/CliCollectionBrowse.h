#pragma once

#include "cli/CliCommand.h"

namespace Orbisong {
class Collection;
}

namespace Orbisong::Cli {

// The browsing verbs of `collection`: groups, sorted, search and stats.
bool isCollectionBrowseVerb(const QString &verb);
int runCollectionBrowse(Context &c, Collection &collection);

// Functions rather than constants: the registration of `collection` reads them while static
// objects are still being made.
QString collectionBrowseSynopsis();
QString collectionBrowseDetails();

} // namespace Orbisong::Cli
