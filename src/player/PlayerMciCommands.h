#pragma once

#include <QString>

namespace Orbisong {

class PlayerEngine;

// Media control command strings of scripts, answered by the player: "play", "stop", and
// "status" with "position", "length" or "mode", each after the device name ("play cdaudio",
// "status cdaudio mode"). Times read minutes:seconds:frames. Main thread only.
class PlayerMciCommands
{
public:
    explicit PlayerMciCommands(PlayerEngine &engine) : m_engine(engine) {}

    // True with the answer; false with the reason for a command the player does not know.
    bool run(const QString &command, QString *answer);

private:
    bool status(const QString &item, QString *answer);

    PlayerEngine &m_engine;
};

} // namespace Orbisong
