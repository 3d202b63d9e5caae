#include "PlaybackRunner.h"

#include <algorithm>

namespace Orbisong {

PlaybackRunner::PlaybackRunner(KeySink &sink, PlaybackTimer &timer, const std::atomic<int> &slow)
    : m_sink(sink), m_timer(timer), m_slow(slow)
{
}

void PlaybackRunner::run(KeyPlayback &playback)
{
    playback.start(m_timer.now());
    while (playback.hasEvent() && !m_timer.stopRequested()) {
        playback.setSlow(m_slow.load() != 0);
        const std::uint32_t ms = playback.waitBefore(m_timer.now());
        if (ms > 0) {
            if (!m_timer.wait(ms))
                break;
            // After a delay, ask again so the passed deadline is cleared before sending.
            if (playback.delayPending())
                continue;
        }
        send(playback.current());
        playback.advance(m_timer.now());
    }
    releaseHeld();
}

void PlaybackRunner::send(const KeyEvent &event)
{
    const auto it = std::find(m_down.begin(), m_down.end(), event.vk);
    if (event.down && it == m_down.end())
        m_down.push_back(event.vk);
    else if (!event.down && it != m_down.end())
        m_down.erase(it);
    m_sink.send(event);
}

void PlaybackRunner::releaseHeld()
{
    while (!m_down.empty()) {
        const std::uint8_t vk = m_down.back();
        m_down.pop_back();
        m_sink.send(KeyEvent{vk, false, false});
    }
}

} // namespace Orbisong
