#include "player/PlaylistEditor.h"

#include "collection/PlaylistRules.h"
#include "collection/StepProperties.h"
#include "playback/Ob4Ctrl.h"
#include "player/PlayerEngine.h"
#include "player/StepListEditor.h"

#include <algorithm>

namespace Orbisong {

int PlaylistEditor::checkTitle(const QString &title, const TPlaylist *self) const
{
    return CheckPlaylistTitle(m_engine.current().playlists, title, self);
}

QString PlaylistEditor::proposedTitle() const
{
    return ProposePlaylistTitle(m_engine.current().playlists);
}

QList<int> PlaylistEditor::favoriteTracks() const
{
    const CurrentAlbum &current = m_engine.current();
    return FavoriteTracks(current.album, current.disc.trackCount);
}

int PlaylistEditor::addPlaylist(const QString &title, const QList<int> &tracks)
{
    if (const int refused = checkTitle(title))
        return refused;
    CurrentAlbum &current = m_engine.current();
    auto playlist = std::make_shared<TPlaylist>(title.trimmed(), 0);
    for (int track : tracks) {
        if (track >= 1 && track <= current.disc.trackCount)
            playlist->steps.append(WholeTrackStep(current.disc, track));
    }
    current.playlists.append(playlist);
    m_engine.setCurrentPlaylist(playlist->title);
    return 0;
}

int PlaylistEditor::applyEdit(const std::shared_ptr<TPlaylist> &playlist, const QString &title,
                              const QList<TStep> &steps)
{
    if (!playlist)
        return 0;
    if (const int refused = checkTitle(title, playlist.get()))
        return refused;
    CurrentAlbum &current = m_engine.current();
    const bool isCurrent = findPlaylist(current.playlists, m_engine.currentPlaylist()) == playlist;
    if (isCurrent && m_engine.playing())
        m_engine.stopPlayback();
    playlist->steps.clear();
    for (const TStep &step : steps)
        playlist->steps.append(copyStep(step));
    playlist->title = title.trimmed();
    if (!isCurrent)
        return 0;
    current.album.currentPlaylist = playlist->title;
    QList<TStep> &list = m_engine.list();
    list.clear();
    for (const TStep &step : std::as_const(playlist->steps))
        list.append(copyStep(step));
    m_engine.stop();
    return 0;
}

std::shared_ptr<TPlaylist> PlaylistEditor::currentCustomPlaylist()
{
    auto playlist = findPlaylist(m_engine.current().playlists, m_engine.currentPlaylist());
    if (!playlist || playlist->isAlbumPlaylist())
        return nullptr;
    // The list holds the order, deletions and shuffles made since the playlist became current.
    m_engine.writeListBack();
    return playlist;
}

bool PlaylistEditor::removeCurrentPlaylist()
{
    CurrentAlbum &current = m_engine.current();
    const auto playlist = findPlaylist(current.playlists, m_engine.currentPlaylist());
    if (!playlist || playlist->isAlbumPlaylist())
        return false;
    m_engine.stop();
    current.playlists.removeAll(playlist);
    m_engine.setCurrentPlaylist(QStringLiteral("Album"));
    return true;
}

int PlaylistEditor::copyStepsTo(const QString &title, const QList<int> &rows)
{
    const auto playlist = findPlaylist(m_engine.current().playlists, title);
    if (!playlist || playlist->isAlbumPlaylist())
        return 0;
    const bool isCurrent =
        playlist->title.compare(m_engine.currentPlaylist(), Qt::CaseInsensitive) == 0;
    const QList<TStep> source = m_engine.list();
    int copied = 0;
    for (int row : rows) {
        if (row < 0 || row >= source.size())
            continue;
        const TStep copy = copyStep(source.at(row));
        if (isCurrent)
            m_engine.list().append(copy);
        else
            playlist->steps.append(copy);
        ++copied;
    }
    return copied;
}

int PlaylistEditor::deleteSteps(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    StepListEditor editor(m_engine);
    int deleted = 0;
    for (int row : std::as_const(rows))
        deleted += editor.deleteStep(row) ? 1 : 0;
    return deleted;
}

int PlaylistEditor::rowOfStep(int serial) const
{
    const QList<TStep> &list = m_engine.list();
    for (int row = 0; row < list.size(); ++row) {
        if (list.at(row).serial() == serial)
            return row;
    }
    return -1;
}

bool PlaylistEditor::editStep(int serial, const QString &title, const QString &script,
                              int startOffset, int endOffset)
{
    const int row = rowOfStep(serial);
    if (row < 0)
        return false;
    TStep &step = m_engine.list()[row];
    const CurrentAlbum &current = m_engine.current();
    const StepProperties properties(current.disc, current.album, step);
    if (!properties.apply(step, title, script, startOffset, endOffset))
        return false;
    // The player plays from its own copy of the current step.
    if (row == m_engine.currentIndex())
        m_engine.setCurrentIndex(row);
    return true;
}

} // namespace Orbisong
