#include "cddb/RunningLookups.h"

#include "cddb/TCDDBThread.h"
#include "base/ThreadWindow.h"

namespace Orbisong {

RunningLookups *RunningLookups::instance()
{
    static RunningLookups lookups;
    return &lookups;
}

void RunningLookups::setCount(int count)
{
    if (count == m_count)
        return;
    m_count = count;
    emit countChanged(count);
}

bool RunningLookups::stopAndWait(int msecs)
{
    TCDDBThread::StopLookups();
    if (ThreadWindow *window = ThreadWindow::instance())
        window->beginClosing();
    return TCDDBThread::waitForLookups(msecs);
}

} // namespace Orbisong
