#pragma once

#include "KeyEvent.h"
#include "KeyQueue.h"

#include <array>
#include <optional>

namespace Orbisong {

// Walks a key queue event by event. The driver asks how long to wait before the current
// event, sends it, and advances; every key-down of an ordinary key is followed by its
// key-up. Modifier presses nest: a modifier goes down at its first press and up at its
// last release.
class KeyPlayback
{
public:
    explicit KeyPlayback(KeyQueue queue);

    // Fetches the first event.
    void start(std::uint64_t now);
    bool hasEvent() const { return m_current.has_value(); }
    const KeyEvent &current() const { return *m_current; }

    // Milliseconds to wait before the current event; a deadline that has passed is cleared.
    std::uint32_t waitBefore(std::uint64_t now);
    bool delayPending() const { return m_deadline.has_value(); }
    // Moves to the next event; no event once the queue is exhausted.
    void advance(std::uint64_t now);

    void setSlow(bool slow) { m_slow = slow; }

private:
    void fetch(std::uint64_t now);
    std::optional<KeyEvent> readEntry(std::uint32_t entry);
    int &held(std::uint8_t vk);
    bool altHeld() const;
    bool ctrlHeld() const;
    bool systemKey() const { return altHeld() && !ctrlHeld(); }

    KeyQueue m_queue;
    std::size_t m_read = 0;
    std::optional<KeyEvent> m_current;
    std::array<int, 3> m_held{};
    bool m_lastWasKeyDown = false;
    bool m_keySinceAlt = false;
    std::optional<std::uint64_t> m_deadline;
    bool m_slow = false;
};

} // namespace Orbisong
