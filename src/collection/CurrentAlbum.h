#pragma once

#include "collection/AlbumInfo.h"
#include "collection/DiscInfo.h"
#include "collection/TPlaylist.h"
#include "collection/WebLinkItem.h"

namespace Orbisong {

// The album of the disc in the open drive: its table of contents, its editable description,
// the player's playlists and its web links. The player owns it; the collection reads and
// updates it when a change concerns the album in the drive.
struct CurrentAlbum
{
    DiscInfo disc;
    AlbumInfo album;
    PlaylistList playlists;
    WebLinkList webLinks;
    bool discPresent = false; // a disc is in the open drive
};

} // namespace Orbisong
