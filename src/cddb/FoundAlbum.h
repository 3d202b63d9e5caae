#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

class CddbEntryReceiver;
class Collection;

// An album recognised from somewhere other than a CDDB entry: the disc's CD-Text or a
// MusicBrainz release. It reaches the album the way an entry does, so open album windows and
// the player take it alike.
struct FoundAlbum
{
    QString artist;
    QString title;
    QString year;      // four digits or empty
    QString releaseId; // the MusicBrainz release id, empty for CD-Text
    QStringList trackTitles;
};

// The custom field that keeps an album's MusicBrainz release id.
inline constexpr const char *ReleaseIdField = "MusicBrainzRelease";

// The entry text for `album` of the disc `albumId`, as a CDDB server would send it.
QString FoundAlbumEntry(const QString &albumId, const FoundAlbum &album);

// Applies `album` to `albumId` through `receiver` with `source` (main thread only); the year
// and the release id follow the entry. True when a window or the collection took it.
bool ApplyFoundAlbum(CddbEntryReceiver &receiver, const QString &albumId, int source,
                     const FoundAlbum &album);

// The release id stored with `albumId`, empty when none is.
QString StoredReleaseId(Collection &collection, const QString &albumId);
// Stores the year and the release id (left alone when empty) of the stored album.
bool StoreRelease(Collection &collection, const QString &albumId, const QString &year,
                  const QString &releaseId);

} // namespace Orbisong
