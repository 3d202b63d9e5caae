#pragma once

#include <QString>
#include <QVariant>

namespace Orbisong {

struct AlbumIndexNode;

// What changed in a stored album.
enum ChangeCode {
    ChangeArtist = 0,
    ChangeBinder = 1,
    ChangeCategory = 2,
    ChangeComments = 3,
    ChangeCopyright = 4,
    ChangeCustomData = 5,
    ChangeFlags = 6,
    ChangeIndex = 7,
    ChangeOther = 8,
    ChangeOwner = 9,
    ChangeAlbumEvents = 10,
    ChangeSource = 11,
    ChangeTitle = 12,
    ChangeYear = 13,
    ChangeTrackTitles = 14,
    ChangeTrackNotes = 15,
    ChangePlayCount = 16,
    ChangeWebLinks = 17,
    ChangeAlbumAdded = 256,
    ChangeAlbumDeleted = 257,
};

// Receives the collection's change notices; the windows implement it. Every method has an
// empty default so a listener overrides only what it shows.
class CollectionSink
{
public:
    virtual ~CollectionSink() = default;

    // For the collection window: an index entry changed, was added or is about to go.
    virtual void albumIndexChanged(const AlbumIndexNode &node, int code, const QVariant &value)
    {
        Q_UNUSED(node)
        Q_UNUSED(code)
        Q_UNUSED(value)
    }
    // For album properties windows open for `id`.
    virtual void albumChanged(const QString &id, int code)
    {
        Q_UNUSED(id)
        Q_UNUSED(code)
    }
    // For the player window: the album in the drive got a new value (code 14 and 15: the
    // track list must be redrawn).
    virtual void currentAlbumChanged(int code) { Q_UNUSED(code) }
    // The whole file is being loaded or written: show the busy cursor.
    virtual void collectionBusy(bool busy) { Q_UNUSED(busy) }
};

} // namespace Orbisong
