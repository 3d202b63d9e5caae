#pragma once

#include "playback/PlaybackContext.h"
#include "playback/PlaybackScope.h"

#include <QList>
#include <QString>

#include <random>

namespace Orbisong {

// The playback controller: decides what plays. It works on the player's playlist list
// (playlistList of the context installed by PlaybackScope) and drives the device layer. Main
// thread only.

struct IntroRange
{
    int start = -1;
    int end = -1;
};

// Adds the built-in "Album" playlist of the disc in front of the album's playlists.
void OB4CTRL_BuildAlbumPlaylist();
// Makes the playlist named `name` current (the first one when there is none of that name).
void SetCurrentPlaylist(const QString &name);
// The tab menu's "Shuffle" and "Revert".
void ShufflePlaylist();
void RevertPlaylist();

void OB4CTRL_MoveToStep(int index);
// Plays step `index`; PlayerState::RandomStep plays a random step.
void OB4CTRL_PlayStep(int index);
bool OB4CTRL_PlayTrack(int track);
void OB4CTRL_NextStep();
void OB4CTRL_PrevStep();
void OB4CTRL_Stop();

// The intro range of `step` from the player's intro settings (its value and how it is read).
IntroRange OB4CTRL_ComputeIntro(const TStep &step);
// The same from explicit settings.
IntroRange ComputeIntro(const TStep &step, const QString &introValue, int introSpec);

// Shuffles a list of steps in place with one seeding of `random`.
void ShuffleSteps(QList<TStep> &steps, std::mt19937 &random);

// A copy of a step with a serial of its own.
TStep copyStep(const TStep &step);

} // namespace Orbisong
