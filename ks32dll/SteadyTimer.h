#pragma once

#include "PlaybackTimer.h"

#include <condition_variable>
#include <mutex>

namespace Orbisong {

// Wall-clock time for playback; requestStop() wakes a wait at once.
class SteadyTimer : public PlaybackTimer
{
public:
    std::uint64_t now() override;
    bool wait(std::uint32_t ms) override;
    bool stopRequested() override;
    void requestStop();

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
};

} // namespace Orbisong
