#pragma once

#include "cddb/CddbEntry.h"

#include <QString>
#include <QStringList>

namespace Orbisong {

// Where found entries go. The player hands the lookups one that knows the open album windows
// and the collection; tests and orbisong-cli use their own.
class CddbEntryReceiver
{
public:
    virtual ~CddbEntryReceiver() = default;
    // An open album wizard or album properties window for `albumId` takes the entry whole.
    // Returns true when one did.
    virtual bool handToWindow(const QString &albumId, const QString &category,
                              const QStringList &lines, int source)
    {
        Q_UNUSED(albumId);
        Q_UNUSED(category);
        Q_UNUSED(lines);
        Q_UNUSED(source);
        return false;
    }
    // Writes the fields to the stored album inside one collection update. Returns false when
    // there is no album with that ID.
    virtual bool applyToAlbum(const QString &albumId, const CddbAlbumFields &fields) = 0;
    // Stores what an entry has no line for: the year and the MusicBrainz release id of a
    // found release (either may be empty). Returns false when there is no album with that ID.
    virtual bool applyRelease(const QString &albumId, const QString &year, const QString &releaseId)
    {
        Q_UNUSED(albumId);
        Q_UNUSED(year);
        Q_UNUSED(releaseId);
        return false;
    }
};

// Source codes kept in the album's source field.
enum CddbSource {
    SourceLocalDatabase = 2,
    SourceCddbServer = 3,
    SourceCdText = 6,
    SourceMusicBrainz = 7
};

// Maps an entry onto the album `albumId` through `receiver` (main thread only). Returns true
// when a window or the collection took it.
bool ApplyEntry(CddbEntryReceiver &receiver, const QString &category, const QString &albumId,
                int source, const QString &entryText);

} // namespace Orbisong
