#include "player/TimerMoments.h"

namespace Orbisong {

TimerMoments::TimerMoments(Clock clock) : m_clock(std::move(clock))
{
}

bool TimerMoments::setAt(Kind kind, const QDateTime &moment)
{
    if (!moment.isValid() || moment < m_clock()) {
        clear(kind);
        return false;
    }
    m_moments[kind] = moment;
    m_previousCheck = QDateTime();
    return true;
}

bool TimerMoments::setAfterMinutes(Kind kind, int minutes)
{
    if (minutes < 0) {
        clear(kind);
        return false;
    }
    // Taken from the same reading of the clock, so a delay of 0 is never "already past".
    m_moments[kind] = m_clock().addSecs(qint64(minutes) * 60);
    m_previousCheck = QDateTime();
    return true;
}

void TimerMoments::clear(Kind kind)
{
    m_moments[kind] = QDateTime();
}

QList<TimerMoments::Kind> TimerMoments::poll(qint64 monotonicMs)
{
    if (m_lastPollMs >= 0 && monotonicMs - m_lastPollMs < CheckIntervalMs)
        return {};
    m_lastPollMs = monotonicMs;
    return check();
}

QList<TimerMoments::Kind> TimerMoments::check()
{
    const QDateTime now = m_clock();
    QList<Kind> due;
    for (Kind kind : {Play, Stop}) {
        const QDateTime &moment = m_moments[kind];
        if (!moment.isValid() || moment > now)
            continue;
        if (m_previousCheck.isValid() && moment <= m_previousCheck)
            continue;
        due.append(kind);
        clear(kind);
    }
    m_previousCheck = now;
    return due;
}

} // namespace Orbisong
