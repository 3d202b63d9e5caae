#include "KeyPlayback.h"

#include <utility>

namespace Orbisong {

namespace {

constexpr std::uint32_t slowModeWait = 10;

} // namespace

KeyPlayback::KeyPlayback(KeyQueue queue) : m_queue(std::move(queue))
{
}

void KeyPlayback::start(std::uint64_t now)
{
    m_current.reset();
    fetch(now);
}

std::uint32_t KeyPlayback::waitBefore(std::uint64_t now)
{
    if (m_deadline) {
        if (*m_deadline > now)
            return std::uint32_t(*m_deadline - now);
        m_deadline.reset();
        return 0;
    }
    return m_slow ? slowModeWait : 0;
}

void KeyPlayback::advance(std::uint64_t now)
{
    fetch(now);
}

void KeyPlayback::fetch(std::uint64_t now)
{
    if (m_lastWasKeyDown) {
        m_lastWasKeyDown = false;
        m_keySinceAlt = true;
        m_current = KeyEvent{m_current->vk, false, systemKey()};
        return;
    }
    m_current.reset();
    while (m_read < m_queue.size()) {
        const std::uint32_t entry = m_queue[m_read++];
        if (entry == DelayMarker) {
            if (m_read < m_queue.size())
                m_deadline = now + m_queue[m_read++];
            continue;
        }
        if (std::optional<KeyEvent> event = readEntry(entry)) {
            m_current = event;
            return;
        }
    }
}

std::optional<KeyEvent> KeyPlayback::readEntry(std::uint32_t entry)
{
    const std::uint8_t vk = std::uint8_t(entry & KeyCodeMask);
    if ((entry & ModifierPress) && isModifierKey(vk)) {
        if (held(vk)++ > 0)
            return std::nullopt;
        if (vk == VkAlt)
            m_keySinceAlt = false;
        return KeyEvent{vk, true, systemKey()};
    }
    if ((entry & ModifierRelease) && isModifierKey(vk)) {
        int &count = held(vk);
        if (count == 0 || --count > 0)
            return std::nullopt;
        // Releasing ALT alone (nothing typed while it was held) is what opens a menu bar,
        // so only that release stays a system key.
        const bool system = vk == VkAlt ? !m_keySinceAlt && !ctrlHeld() : systemKey();
        return KeyEvent{vk, false, system};
    }
    if (vk == 0 || isModifierKey(vk))
        return std::nullopt;
    m_lastWasKeyDown = true;
    m_keySinceAlt = true;
    return KeyEvent{vk, true, systemKey()};
}

int &KeyPlayback::held(std::uint8_t vk)
{
    return m_held[vk - VkShift];
}

bool KeyPlayback::altHeld() const
{
    return m_held[VkAlt - VkShift] > 0;
}

bool KeyPlayback::ctrlHeld() const
{
    return m_held[VkControl - VkShift] > 0;
}

} // namespace Orbisong
