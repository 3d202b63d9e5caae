#pragma once

#include <QDateTime>
#include <QList>

#include <array>
#include <functional>

namespace Orbisong {

// The timer-play and timer-stop moments of the player and their periodic check.
// The clock is injectable so that the check can be driven without waiting.
class TimerMoments
{
public:
    enum Kind { Play = 0, Stop = 1 };
    using Clock = std::function<QDateTime()>;
    static constexpr qint64 CheckIntervalMs = 4800;

    explicit TimerMoments(Clock clock = &QDateTime::currentDateTime);

    // A moment earlier than now (an invalid one too) clears the timer; returns whether set.
    bool setAt(Kind kind, const QDateTime &moment);
    // A delay counts from now; 0 minutes fires at the next check. Negative clears.
    bool setAfterMinutes(Kind kind, int minutes);
    void clear(Kind kind);
    bool isSet(Kind kind) const { return m_moments[kind].isValid(); }
    QDateTime moment(Kind kind) const { return m_moments[kind]; }

    // Called from the drive timer with a monotonic time in ms. Every CheckIntervalMs it
    // checks both moments and returns (and clears) those that came due.
    QList<Kind> poll(qint64 monotonicMs);
    // The check itself, without the interval.
    QList<Kind> check();

private:
    Clock m_clock;
    std::array<QDateTime, 2> m_moments;
    QDateTime m_previousCheck; // invalid: before any moment
    qint64 m_lastPollMs = -1;
};

} // namespace Orbisong
