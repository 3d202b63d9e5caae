#include "collection/TPlaylist.h"

#include <atomic>

namespace Orbisong {

namespace {
std::atomic<int> playlistCounter{0};
}

TPlaylist::TPlaylist(const QString &title, int flags)
    : title(title), flags(flags), m_serial(++playlistCounter)
{
}

std::shared_ptr<TPlaylist> findPlaylist(const PlaylistList &list, const QString &title)
{
    for (const std::shared_ptr<TPlaylist> &playlist : list) {
        if (playlist->title.compare(title, Qt::CaseInsensitive) == 0)
            return playlist;
    }
    return nullptr;
}

bool isReservedPlaylistTitle(const QString &title)
{
    static const char *const reserved[] = {"ALBUM",     "USAGE",    "TRACKS",
                                           "PLAYLISTS", "COMMENTS", "WEBLINK"};
    for (const char *name : reserved) {
        if (title.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace Orbisong
