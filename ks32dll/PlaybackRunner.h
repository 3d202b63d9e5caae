#pragma once

#include "KeyPlayback.h"
#include "KeySink.h"
#include "PlaybackTimer.h"

#include <atomic>
#include <vector>

namespace Orbisong {

// Plays a queue into a sink in time, and releases every key it pressed when it ends or
// is stopped, so no key stays down.
class PlaybackRunner
{
public:
    PlaybackRunner(KeySink &sink, PlaybackTimer &timer, const std::atomic<int> &slow);

    void run(KeyPlayback &playback);

private:
    void send(const KeyEvent &event);
    void releaseHeld();

    KeySink &m_sink;
    PlaybackTimer &m_timer;
    const std::atomic<int> &m_slow;
    std::vector<std::uint8_t> m_down;
};

} // namespace Orbisong
