#include "cddb/FoundAlbum.h"

#include "cddb/CddbApply.h"
#include "cddb/CddbEntry.h"
#include "collection/AlbumDraft.h"
#include "collection/Collection.h"

#include <QDate>

namespace Orbisong {

QString FoundAlbumEntry(const QString &albumId, const FoundAlbum &album)
{
    CddbWriteInput input;
    input.discId = albumId.left(8).toLower();
    input.artist = album.artist;
    input.title = album.title;
    const int count = DiscIdTrackCount(input.discId);
    QStringList titles = album.trackTitles.mid(0, count);
    while (titles.size() < count)
        titles.append(QString());
    input.trackTitles = titles.join(QChar(13));
    return WriteCddbEntry(input, QDate::currentDate().year());
}

bool ApplyFoundAlbum(CddbEntryReceiver &receiver, const QString &albumId, int source,
                     const FoundAlbum &album)
{
    const QString entry = FoundAlbumEntry(albumId, album);
    if (entry.isEmpty() || !ApplyEntry(receiver, QStringLiteral("misc"), albumId, source, entry))
        return false;
    if (!album.year.isEmpty() || !album.releaseId.isEmpty())
        receiver.applyRelease(albumId.toUpper(), album.year, album.releaseId);
    return true;
}

QString StoredReleaseId(Collection &collection, const QString &albumId)
{
    if (!collection.OpenCollectionFile())
        return {};
    AlbumDraft draft;
    const bool known = draft.load(collection, albumId);
    collection.CloseCollection();
    return known ? draft.customValue(QLatin1String(ReleaseIdField)) : QString();
}

bool StoreRelease(Collection &collection, const QString &albumId, const QString &year,
                  const QString &releaseId)
{
    if (!collection.OpenCollectionFile())
        return false;
    AlbumDraft draft;
    bool stored = draft.load(collection, albumId);
    if (stored && !year.isEmpty())
        stored = collection.SetAlbumYear(albumId, year);
    if (stored && !releaseId.isEmpty()) {
        draft.setCustomValue(QLatin1String(ReleaseIdField), releaseId);
        stored = collection.SetAlbumCustomData(albumId, draft.customData);
    }
    collection.CloseCollection();
    return stored;
}

} // namespace Orbisong
