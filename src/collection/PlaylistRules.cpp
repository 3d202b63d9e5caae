#include "collection/PlaylistRules.h"

#include "base/MessageIds.h"
#include "collection/AlbumInfo.h"
#include "collection/DiscInfo.h"

#include <QRandomGenerator>

#include <algorithm>

namespace Orbisong {

int CheckPlaylistTitle(const PlaylistList &playlists, const QString &title, const TPlaylist *self)
{
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char(']')) || isReservedPlaylistTitle(trimmed))
        return Msg::ReservedPlaylistTitle;
    for (const std::shared_ptr<TPlaylist> &playlist : playlists) {
        if (playlist.get() != self && playlist->title.compare(trimmed, Qt::CaseInsensitive) == 0)
            return Msg::PlaylistTitleInUse;
    }
    return 0;
}

QString ProposePlaylistTitle(const PlaylistList &playlists)
{
    const QString stem = QStringLiteral("New Playlist");
    if (!findPlaylist(playlists, stem))
        return stem;
    for (int n = 1;; ++n) {
        const QString title = stem + QLatin1Char(' ') + QString::number(n);
        if (!findPlaylist(playlists, title))
            return title;
    }
}

QList<int> FavoriteTracks(const AlbumInfo &album, int trackCount)
{
    QList<int> tracks;
    const int last = qBound(0, trackCount, int(AlbumInfo::MaxTracks));
    for (int track = last; track >= 1; --track) {
        if (album.trackPlayCounts[std::size_t(track)] > 0)
            tracks.append(track);
    }
    // Collected from the last track down, so a stable sort keeps later tracks first.
    std::stable_sort(tracks.begin(), tracks.end(), [&album](int a, int b) {
        return album.trackPlayCounts[std::size_t(a)] > album.trackPlayCounts[std::size_t(b)];
    });
    return tracks;
}

TStep WholeTrackStep(const DiscInfo &disc, int track)
{
    const int t = qBound(1, track, int(DiscInfo::MaxTracks));
    return TStep(QString(), disc.trackOffsets[std::size_t(t)],
                 disc.trackOffsets[std::size_t(t + 1)]);
}

void ShuffleTracks(QList<int> &tracks, QRandomGenerator &random)
{
    const int count = int(tracks.size());
    if (count < 2)
        return;
    for (int i = 0; i < count; ++i)
        tracks.swapItemsAt(i, int(random.bounded(count)));
}

} // namespace Orbisong
