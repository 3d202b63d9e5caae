#include "script/ScriptClock.h"

#include <ctime>

namespace Orbisong {

bool SystemClock::set(const QDateTime &localTime)
{
    const qint64 ms = localTime.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long((ms % 1000) * 1000000);
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

} // namespace Orbisong
