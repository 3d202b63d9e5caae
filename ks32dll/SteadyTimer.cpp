#include "SteadyTimer.h"

#include <chrono>

namespace Orbisong {

std::uint64_t SteadyTimer::now()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SteadyTimer::wait(std::uint32_t ms)
{
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop; });
}

bool SteadyTimer::stopRequested()
{
    std::lock_guard lock(m_mutex);
    return m_stop;
}

void SteadyTimer::requestStop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
}

} // namespace Orbisong
