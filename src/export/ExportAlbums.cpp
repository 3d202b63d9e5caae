#include "export/ExportAlbums.h"

#include "collection/AlbumGrouping.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "collection/StoredAlbumValues.h"
#include "export/ExportProfile.h"

#include <QSet>

namespace Orbisong {

namespace ExportAlbums {

namespace {

const QString None = QStringLiteral("(None)");

bool fieldMatches(const QString &field, const QString &value)
{
    if (field.isEmpty())
        return value.compare(None, Qt::CaseInsensitive) == 0 || value.isEmpty();
    return field.compare(value, Qt::CaseInsensitive) == 0;
}

// The album in the drive holds edits newer than its index entry.
const AlbumInfo *albumInDrive(const Collection &collection, const QString &id)
{
    const CurrentAlbum *current = collection.currentAlbum();
    if (!current || !current->discPresent || isCdRomKind(current->disc.mediaKind) ||
        current->disc.id.compare(id, Qt::CaseInsensitive) != 0)
        return nullptr;
    return &current->album;
}

} // namespace

QList<const AlbumIndexNode *> select(const Collection &collection, const ExportProfile &profile)
{
    const QList<const AlbumIndexNode *> all = audioAlbums(collection);
    if (profile.flags & ExportListedAlbums) {
        QList<const AlbumIndexNode *> listed;
        for (const QString &id : withoutRepeats(profile.albumIds)) {
            const AlbumIndexNode *node = collection.FindAlbum(id.trimmed());
            if (node && isAudioAlbum(*node))
                listed.append(node);
        }
        return listed;
    }
    if ((profile.flags & ExportGroupAlbums) && profile.groupKind >= 0) {
        const auto field = GroupField(profile.groupKind);
        QList<const AlbumIndexNode *> members;
        for (const AlbumIndexNode *node : all) {
            if (fieldMatches(groupValue(*node, field), profile.groupValue))
                members.append(node);
        }
        return members;
    }
    return all;
}

QStringList withoutRepeats(const QStringList &ids, bool *hadRepeats)
{
    QStringList kept;
    QSet<QString> seen;
    for (const QString &id : ids) {
        const QString key = id.trimmed().toUpper();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        kept.append(id);
    }
    if (hadRepeats)
        *hadRepeats = kept.size() != ids.size();
    return kept;
}

QList<ExportAlbum> read(Collection &collection, const QList<const AlbumIndexNode *> &albums)
{
    QList<ExportAlbum> result;
    result.reserve(albums.size());
    StoredAlbumValues values(collection);
    for (const AlbumIndexNode *node : albums) {
        values.select(*node);
        ExportAlbum album;
        album.id = node->id;
        album.blockName = node->blockName;
        album.artist = node->artist;
        album.binder = node->binder;
        album.category = node->category;
        album.owner = node->owner;
        album.year = node->year;
        album.title = node->title;
        album.flags = node->flags;
        if (const AlbumInfo *inDrive = albumInDrive(collection, node->id)) {
            album.artist = inDrive->artist;
            album.binder = inDrive->binder;
            album.category = inDrive->category;
            album.owner = inDrive->owner;
            album.year = inDrive->year;
            album.title = inDrive->title;
            album.flags = inDrive->flags;
        }
        album.copyright = values.copyright();
        album.lengthSeconds = values.albumLength();
        album.insertCount = values.insertCount();
        const int count = values.trackCount();
        album.tracks.reserve(count);
        for (int n = 1; n <= count; ++n) {
            album.tracks.append({values.trackTitle(n), values.trackNotes(n), values.trackLength(n),
                                 values.trackPlays(n)});
        }
        result.append(album);
    }
    return result;
}

} // namespace ExportAlbums

} // namespace Orbisong
