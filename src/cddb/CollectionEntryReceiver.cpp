#include "cddb/CollectionEntryReceiver.h"

#include "cddb/FoundAlbum.h"
#include "collection/Collection.h"
#include "collection/MultilineCodec.h"

namespace Orbisong {

CollectionEntryReceiver::CollectionEntryReceiver(Collection &collection) : m_collection(collection)
{
}

bool CollectionEntryReceiver::handToWindow(const QString &albumId, const QString &category,
                                           const QStringList &lines, int source)
{
    return m_windowHook && m_windowHook(albumId, category, lines, source);
}

bool CollectionEntryReceiver::applyToAlbum(const QString &albumId, const CddbAlbumFields &fields)
{
    if (!m_collection.OpenCollectionFile())
        return false;
    const bool known = m_collection.FindAlbum(albumId) != nullptr;
    if (known) {
        m_collection.SetAlbumRevision(albumId, fields.revision);
        m_collection.SetAlbumArtist(albumId, fields.artist);
        m_collection.SetAlbumTitle(albumId, fields.title);
        m_collection.SetAlbumCategory(albumId, fields.category);
        m_collection.SetAlbumSource(albumId, fields.source);
        m_collection.SetAlbumTrackTitle(albumId, -1, fields.trackTitles);
        m_collection.SetAlbumTrackNote(albumId, -1, fields.extendedTrackData);
        m_collection.SetAlbumComments(albumId, EncodeMultiline(fields.comments));
        if (!fields.webLinks.isEmpty())
            m_collection.SetAlbumWebLinks(albumId, fields.webLinks, false);
    }
    m_collection.CloseCollection();
    return known;
}

bool CollectionEntryReceiver::applyRelease(const QString &albumId, const QString &year,
                                           const QString &releaseId)
{
    return StoreRelease(m_collection, albumId, year, releaseId);
}

} // namespace Orbisong
