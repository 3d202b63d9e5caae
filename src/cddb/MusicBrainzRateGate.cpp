#include "cddb/MusicBrainzRateGate.h"

#include <chrono>
#include <mutex>

namespace Orbisong {

qint64 MusicBrainzRateGate::reserve()
{
    using Clock = std::chrono::steady_clock;
    static std::mutex mutex;
    static Clock::time_point next;
    const std::lock_guard<std::mutex> lock(mutex);
    const Clock::time_point now = Clock::now();
    const Clock::time_point slot = next > now ? next : now;
    next = slot + std::chrono::milliseconds(IntervalMs);
    return std::chrono::ceil<std::chrono::milliseconds>(slot - now).count();
}

} // namespace Orbisong
