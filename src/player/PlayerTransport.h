#pragma once

#include <QChar>

#include <limits>

namespace Orbisong {

class PlayerEngine;

// What the player's transport controls do to the engine, apart from any window.
class PlayerTransport
{
public:
    // Stands for "a random step" in a start request.
    static constexpr int RandomStep = std::numeric_limits<int>::max();

    explicit PlayerTransport(PlayerEngine &engine) : m_engine(engine) {}

    // Play/pause: while running it pauses; otherwise the current step starts when the
    // position is at its start, else playback resumes where it paused.
    void togglePlay();
    // Sets the album's intro flag; when it comes on the current step starts again, so that it
    // starts at its intro start. False without an audio disc.
    bool setIntro(bool on);
    bool setRepeat(bool on);
    // A later start handed over: opens the named drive when it is another, then plays the
    // track, or the first step when none is named. False when nothing could be started.
    bool playRequest(QChar drive, int track);
    // What was asked for a disc just inserted: a step (-1 none, RandomStep), else a track
    // (0 none), else the first step when `firstStep` is set.
    void startRequested(int step, int track, bool firstStep);

private:
    PlayerEngine &m_engine;
};

} // namespace Orbisong
