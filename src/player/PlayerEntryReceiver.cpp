#include "player/PlayerEntryReceiver.h"

#include "cddb/FoundAlbum.h"
#include "collection/Collection.h"
#include "player/PlayerEngine.h"

namespace Orbisong {

PlayerEntryReceiver::PlayerEntryReceiver(PlayerEngine *engine, Collection *collection)
    : m_engine(engine), m_collection(collection)
{
}

bool PlayerEntryReceiver::handToWindow(const QString &albumId, const QString &category,
                                       const QStringList &lines, int source)
{
    return m_windowHook && m_windowHook(albumId, category, lines, source);
}

bool PlayerEntryReceiver::applyToAlbum(const QString &albumId, const CddbAlbumFields &fields)
{
    bool applied = false;
    if (m_collection) {
        applied |= m_collection->SetAlbumArtist(albumId, fields.artist);
        applied |= m_collection->SetAlbumTitle(albumId, fields.title);
        applied |= m_collection->SetAlbumCategory(albumId, fields.category);
        applied |= m_collection->SetAlbumSource(albumId, fields.source);
        applied |= m_collection->SetAlbumTrackTitle(albumId, -1, fields.trackTitles);
    }
    if (!m_engine || m_engine->current().disc.id.compare(albumId, Qt::CaseInsensitive) != 0)
        return applied;
    AlbumInfo &album = m_engine->current().album;
    album.artist = fields.artist;
    album.title = fields.title;
    album.category = fields.category;
    album.source = fields.source;
    album.revision = fields.revision;
    const QStringList titles = fields.trackTitles.split(QChar(13));
    for (int t = 1; t <= titles.size() && t <= AlbumInfo::MaxTracks; ++t)
        album.trackTitles[t] = titles.at(t - 1);
    album.isNew = false;
    return true;
}

bool PlayerEntryReceiver::applyRelease(const QString &albumId, const QString &year,
                                       const QString &releaseId)
{
    return m_collection && StoreRelease(*m_collection, albumId, year, releaseId);
}

} // namespace Orbisong
