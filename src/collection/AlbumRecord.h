#pragma once

#include "collection/AlbumInfo.h"
#include "collection/DiscInfo.h"
#include "collection/TPlaylist.h"
#include "collection/WebLinkItem.h"

#include <QDateTime>

namespace Orbisong {

class Collection;

// Stores the album in the collection as one block. An album with no title, artist and index
// is stored only when it is a CD-ROM's; otherwise nothing is written, and with
// `removeIfEmpty` the current album is deleted from the collection. Returns whether the
// album was written.
bool WriteAlbumInfo(Collection &collection, bool removeIfEmpty, const WebLinkList &links,
                    const PlaylistList &playlists, const DiscInfo &disc, const AlbumInfo &album);
// The same for the collection's current album.
bool WriteAlbumInfo(Collection &collection, bool removeIfEmpty);

// Loads the album with the disc's ID, adding it to the index first when it is unknown.
// Returns false when no index entry could be made.
bool ReadAlbumInfo(Collection &collection, WebLinkList &links, AlbumInfo &album,
                   PlaylistList &playlists, const DiscInfo &disc);
// The same for the collection's current album.
bool ReadAlbumInfo(Collection &collection);

// Counts one play of `track`; the first counted play of an insertion also records the
// insertion in the usage fields.
void CountTrackPlay(AlbumInfo &album, int track, const QDateTime &now);

// The date and time text of usage fields: the system's date format, then its time format.
QString usageTimeText(const QDateTime &when);

// The built-in "Album" playlist of a disc: one step per track, never stored. Tracks of 75
// frames or less are left out when `skipBlankTracks` is set.
std::shared_ptr<TPlaylist> MakeAlbumPlaylist(const DiscInfo &disc, bool skipBlankTracks);

} // namespace Orbisong
