#include "cli/CliCddbAlbum.h"

#include "cddb/CddbApply.h"
#include "cddb/CddbEntry.h"
#include "cddb/CollectionEntryReceiver.h"
#include "cddb/FoundAlbum.h"
#include "collection/AlbumRecord.h"
#include "collection/DiscId.h"
#include "collection/MediaKind.h"

namespace Orbisong::Cli {

void CddbAlbumSession::setDisc(const QList<int> &trackStarts, int leadOut)
{
    m_trackStarts = trackStarts;
    m_leadOut = leadOut;
}

DiscInfo CddbAlbumSession::discOf(const QString &albumId) const
{
    DiscInfo disc;
    disc.id = albumId.toUpper();
    disc.mediaKind = MediaKindAudioCd;
    disc.trackCount = std::min(DiscIdTrackCount(albumId.left(8)), int(DiscInfo::MaxTracks));
    // A table that cannot be a disc's is not stored; the album keeps only its track count.
    if (m_trackStarts.size() == disc.trackCount && IsValidToc(m_trackStarts, m_leadOut)) {
        for (int n = 1; n <= disc.trackCount; ++n)
            disc.trackOffsets[std::size_t(n)] = m_trackStarts.at(n - 1);
        disc.trackOffsets[std::size_t(disc.trackCount + 1)] = m_leadOut;
        for (int n = 1; n <= disc.trackCount; ++n)
            disc.trackLengths[std::size_t(n)] =
                disc.trackOffsets[std::size_t(n + 1)] - disc.trackOffsets[std::size_t(n)];
        disc.length = m_leadOut / 75;
    }
    return disc;
}

CddbAlbumSession::CddbAlbumSession(const QString &collectionPath, QuestionPort &questions)
    : m_collection(std::make_unique<Collection>(m_session.settings(), collectionPath))
{
    m_collection->setQuestionPort(&questions);
    // close() answers whether the collection was written, so it writes before it returns.
    m_collection->setWriteBehind(false);
    m_collection->BuildAlbumIndex();
    m_collection->OpenCollectionFile();
}

CddbAlbumSession::~CddbAlbumSession()
{
    close();
}

bool CddbAlbumSession::ensureAlbum(const QString &albumId)
{
    if (m_collection->FindAlbum(albumId))
        return true;
    WebLinkList links;
    AlbumInfo album;
    PlaylistList playlists;
    return ReadAlbumInfo(*m_collection, links, album, playlists, discOf(albumId));
}

void CddbAlbumSession::storeAlbum(const QString &albumId)
{
    const DiscInfo disc = discOf(albumId);
    WebLinkList links;
    AlbumInfo album;
    PlaylistList playlists;
    if (ReadAlbumInfo(*m_collection, links, album, playlists, disc))
        WriteAlbumInfo(*m_collection, false, links, playlists, disc, album);
}

bool CddbAlbumSession::applyEntry(const QString &albumId, const QString &category, int source,
                                  const QString &entry)
{
    ensureAlbum(albumId);
    CollectionEntryReceiver receiver(*m_collection);
    if (!ApplyEntry(receiver, category, albumId, source, entry))
        return false;
    storeAlbum(albumId);
    return true;
}

bool CddbAlbumSession::applyFound(const QString &albumId, int source, const FoundAlbum &album)
{
    ensureAlbum(albumId);
    CollectionEntryReceiver receiver(*m_collection);
    if (!ApplyFoundAlbum(receiver, albumId, source, album))
        return false;
    storeAlbum(albumId);
    return true;
}

bool CddbAlbumSession::close()
{
    if (!m_collection || m_collection->openCount() == 0)
        return true;
    return m_collection->CloseCollection();
}

} // namespace Orbisong::Cli
