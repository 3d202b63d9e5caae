#pragma once

#include "cddb/FoundAlbum.h"

#include <QByteArray>
#include <QList>

namespace Orbisong {

// Reads a MusicBrainz disc id reply (JSON): every release with its artist credit joined as
// the service joins it, title, year and the track titles of the medium that holds the disc
// (`discId`), else of the first medium with `trackCount` tracks. False for a reply that is
// not the service's shape; `releases` is then left empty.
bool ParseMusicBrainzReply(const QByteArray &reply, const QString &discId, int trackCount,
                           QList<FoundAlbum> *releases);

// The releases as the inexact-match window lists them, in the form of a server's match list:
// the N-th release is "misc" with the disc id N in eight hex digits.
QString MusicBrainzMatchList(const QList<FoundAlbum> &releases);

} // namespace Orbisong
