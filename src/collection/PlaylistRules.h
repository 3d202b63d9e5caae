#pragma once

#include "collection/TPlaylist.h"

#include <QList>

class QRandomGenerator;

namespace Orbisong {

struct AlbumInfo;
struct DiscInfo;

// 0 when `title`, trimmed, may title a custom playlist of `playlists`, else the message that
// refuses it: Msg::ReservedPlaylistTitle for a reserved or unstorable title (empty, or holding
// "]", which would end the section that stores the steps), Msg::PlaylistTitleInUse for a title
// another playlist has. `self`, the playlist being renamed, does not count as another.
int CheckPlaylistTitle(const PlaylistList &playlists, const QString &title,
                       const TPlaylist *self = nullptr);

// "New Playlist", or when that is taken the first free "New Playlist N" from 1.
QString ProposePlaylistTitle(const PlaylistList &playlists);

// The tracks played at least once, most played first; on equal counts the later track first.
QList<int> FavoriteTracks(const AlbumInfo &album, int trackCount);

// A step for the whole of `track`: its start to the next track's start (the lead-out after
// the last track), with no title and no script.
TStep WholeTrackStep(const DiscInfo &disc, int track);

// Exchanges each entry, first to last, with one drawn from the whole list.
void ShuffleTracks(QList<int> &tracks, QRandomGenerator &random);

} // namespace Orbisong
