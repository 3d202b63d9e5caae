#include "AlbumRecord.h"

#include "Collection.h"

namespace Orbisong {

bool WriteAlbumInfo(Collection &, bool, const WebLinkList &, const PlaylistList &,
                    const DiscInfo &, const AlbumInfo &)
{
    return false;
}

bool WriteAlbumInfo(Collection &, bool) { return false; }

bool ReadAlbumInfo(Collection &, WebLinkList &, AlbumInfo &, PlaylistList &, const DiscInfo &)
{
    return false;
}

bool ReadAlbumInfo(Collection &) { return false; }

void CountTrackPlay(AlbumInfo &, int, const QDateTime &) {}

QString usageTimeText(const QDateTime &) { return {}; }

std::shared_ptr<TPlaylist> MakeAlbumPlaylist(const DiscInfo &, bool) { return nullptr; }

} // namespace Orbisong
