#pragma once

#include "collection/TPlaylist.h"

#include <QList>

namespace Orbisong {

class PlayerEngine;

// Adds, edits and removes the custom playlists of the album in the drive and edits single
// steps of the player's list, keeping playback and the current position in step with them.
class PlaylistEditor
{
public:
    explicit PlaylistEditor(PlayerEngine &engine) : m_engine(engine) {}

    // 0 when `title` may title a playlist (other than `self`), else the refusing message id.
    int checkTitle(const QString &title, const TPlaylist *self = nullptr) const;
    QString proposedTitle() const;
    // The tracks with a play count, most played first.
    QList<int> favoriteTracks() const;

    // Appends a playlist (flags 0) with one whole-track step per entry of `tracks`, in order,
    // and makes it current. Returns 0, or the message id refusing the title (nothing added).
    int addPlaylist(const QString &title, const QList<int> &tracks);
    // Gives `playlist` copies of `steps` and the title; playback of the playlist stops first,
    // and when it is current its list is refilled. Returns 0 or the refusing message id.
    int applyEdit(const std::shared_ptr<TPlaylist> &playlist, const QString &title,
                  const QList<TStep> &steps);
    // Removes the current playlist, unless it is "Album", which then becomes current.
    bool removeCurrentPlaylist();
    // The current custom playlist with the player's list written into it; none for "Album".
    std::shared_ptr<TPlaylist> currentCustomPlaylist();

    // Copies the steps of the player's list at `rows` into the playlist titled `title`
    // (never "Album"); into the list itself when that playlist is current.
    int copyStepsTo(const QString &title, const QList<int> &rows);
    // Deletes the steps at `rows` from the player's list.
    int deleteSteps(QList<int> rows);

    // The row of the player's list that holds the step with `serial`, or -1.
    int rowOfStep(int serial) const;
    // The item window's "OK" for the step `serial` of the list: false when the end would lie
    // before the start (nothing changes) or the step is gone.
    bool editStep(int serial, const QString &title, const QString &script, int startOffset,
                  int endOffset);

private:
    PlayerEngine &m_engine;
};

} // namespace Orbisong
