#pragma once

#include <cstdint>

namespace Orbisong {

// Time for playback: a millisecond clock and a wait that a stop request cuts short.
class PlaybackTimer
{
public:
    virtual ~PlaybackTimer() = default;
    virtual std::uint64_t now() = 0;
    // False when playback was asked to stop before or during the wait.
    virtual bool wait(std::uint32_t ms) = 0;
    virtual bool stopRequested() = 0;
};

} // namespace Orbisong
