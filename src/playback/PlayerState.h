#pragma once

#include "collection/TStep.h"

#include <QString>

#include <climits>
#include <optional>

namespace Orbisong {

// The player's run-time record, one for the whole run.
struct PlayerState
{
    // A start step that asks for a random step once the disc is recognised.
    static constexpr int RandomStep = INT_MAX;

    bool playAtStart = false;  // "/PLAY", consumed by the first recognised disc
    QChar startDrive;          // preferred drive from the command line, null for none
    int startTrack = 0;        // track to play when the next disc is recognised, 0 for none
    int startStep = -1;        // step to play then: -1 none, 0 the first, RandomStep a random one
    bool closeOnEject = false; // "/CLOSE"
    bool animations = true;
    QString programFolder;
    QString windowsFolder;
    QString userName;
    QString driveList;    // CD drive letters, upper case, in drive order
    QString currentDrive; // the open drive's letter
    bool discPresent = false;
    bool discIgnored = false;         // classified as CD-ROM, never played
    bool playing = false;             // playback started and not stopped by the program
    bool paused = false;              // paused by the user, position kept
    std::optional<TStep> currentStep; // a copy of the current item of the playlist list
    int introStart = -1;
    int introEnd = -1;
    int currentStepIndex = -1;
    int position = -1; // where playback starts or resumes; the last position read while playing
    int currentTrack = -1;
    int playedMark = -1; // where the current step counts as played, -1 when counted or none
    bool noDrive = false;

    bool isRunning() const { return playing && !paused; }
};

} // namespace Orbisong
