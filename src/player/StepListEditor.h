#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Orbisong {

class PlayerEngine;

// Changes to the player's list of steps that keep the current step where they can: a step
// that only moved goes on playing, a removed one gives its place to the step after it.
class StepListEditor
{
public:
    explicit StepListEditor(PlayerEngine &engine) : m_engine(engine) {}

    bool deleteStep(int row);
    bool moveStep(int from, int to);
    // Every CD audio track file of the disc becomes a step for its whole track, inserted
    // before `beforeRow`; returns how many were inserted.
    int insertTrackFiles(const QStringList &paths, int beforeRow);
    // Copies the steps at `rows` into the user's favourites playlist, made when missing.
    bool addToFavorites(const QList<int> &rows, const QString &login);
    bool shuffle();
    // Makes `playlist` current; the list goes back into the playlist it leaves, so that
    // reordering, deleting and shuffling change custom playlists, never "Album".
    void switchTo(const QString &playlist);
    // Rebuilds the list from its playlist, dropping the changes made to it.
    void revert();
    // Plays step `index` of `playlist`, making it current first.
    void jumpTo(const QString &playlist, int index);

private:
    int currentSerial() const;
    void followCurrent(int previousSerial, bool wasRunning);

    PlayerEngine &m_engine;
};

} // namespace Orbisong
