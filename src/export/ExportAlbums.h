#pragma once

#include "export/ExportAlbum.h"

#include <QList>
#include <QStringList>

namespace Orbisong {

class Collection;
struct AlbumIndexNode;
struct ExportProfile;

namespace ExportAlbums {

// The albums the profile selects, in collection order: every audio album, the albums whose
// grouping field equals the value (without regard to case, "(None)" for an empty one), or
// the listed IDs in list order, skipping those no longer in the collection.
QList<const AlbumIndexNode *> select(const Collection &collection, const ExportProfile &profile);
// The listed IDs with later repeats (without regard to case) removed; `hadRepeats` tells
// whether there were any.
QStringList withoutRepeats(const QStringList &ids, bool *hadRepeats = nullptr);
// Reads the albums from the collection in memory; the album in the drive gives its own,
// newer values.
QList<ExportAlbum> read(Collection &collection, const QList<const AlbumIndexNode *> &albums);

} // namespace ExportAlbums

} // namespace Orbisong
