#pragma once

#include "collection/TStep.h"

#include <QList>
#include <QString>

#include <memory>

namespace Orbisong {

// A named list of steps. Titles are unique within an album, compared without regard to case.
class TPlaylist
{
public:
    // Bit value 1 of the flags marks the built-in "Album" playlist, which is never stored.
    static constexpr int FlagAlbum = 1;

    // Takes the next serial of the process-wide playlist counter.
    explicit TPlaylist(const QString &title = {}, int flags = 0);

    int serial() const { return m_serial; }
    bool isAlbumPlaylist() const { return flags & FlagAlbum; }

    QString title;
    int flags = 0;
    QList<TStep> steps;

private:
    int m_serial = 0;
};

using PlaylistList = QList<std::shared_ptr<TPlaylist>>;

// The playlist titled `title` (without regard to case), or nullptr.
std::shared_ptr<TPlaylist> findPlaylist(const PlaylistList &list, const QString &title);

// Titles that name sections of the album's block and so cannot title a user playlist.
bool isReservedPlaylistTitle(const QString &title);

} // namespace Orbisong
