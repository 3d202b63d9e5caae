#include "cddb/RunningLookups.h"

#include "base/ThreadWindow.h"
#include "cddb/TCDDBThread.h"

#include <QDeadlineTimer>

namespace Orbisong {

RunningLookups::RunningLookups(CddbEntryReceiver *receiver, ThreadWindow *window, QObject *parent)
    : QObject(parent), m_receiver(receiver), m_window(window)
{
}

RunningLookups::~RunningLookups()
{
    stopAll();
}

void RunningLookups::add(TCDDBThread *lookup)
{
    m_running.append(lookup);
    emit countChanged(count());
}

void RunningLookups::remove(TCDDBThread *lookup)
{
    if (m_running.removeAll(lookup) > 0)
        emit countChanged(count());
}

void RunningLookups::stopAll()
{
    for (TCDDBThread *lookup : std::as_const(m_running))
        lookup->requestStop();
}

bool RunningLookups::waitForAll(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    bool allEnded = true;
    for (TCDDBThread *lookup : std::as_const(m_running))
        allEnded = lookup->wait(deadline) && allEnded;
    return allEnded;
}

bool RunningLookups::stopAndWait(int msecs)
{
    stopAll();
    if (m_window)
        m_window->beginClosing();
    return waitForAll(msecs);
}

} // namespace Orbisong
