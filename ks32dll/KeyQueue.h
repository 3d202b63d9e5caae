#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orbisong {

// One entry is a virtual-key code to press and release, an explicit press or release of
// SHIFT, CTRL or ALT, or DelayMarker followed by an entry holding milliseconds.
using KeyQueue = std::vector<std::uint32_t>;

constexpr std::size_t MaxQueueEntries = 4095;
constexpr std::uint32_t DelayMarker = 0xFFFF;
constexpr std::uint32_t ModifierPress = 0x10000;
constexpr std::uint32_t ModifierRelease = 0x20000;
constexpr std::uint32_t KeyCodeMask = 0xFF;

constexpr std::uint8_t VkShift = 16;
constexpr std::uint8_t VkControl = 17;
constexpr std::uint8_t VkAlt = 18;

constexpr bool isModifierKey(std::uint32_t vk)
{
    return vk == VkShift || vk == VkControl || vk == VkAlt;
}

enum KeyResult : int {
    KeysQueued = 0,
    BadKeyName = 1,
    UnclosedGroup = 2,
    ZeroRepeat = 3,
    QueueFull = 4,
    NoPlayback = 5,
};

} // namespace Orbisong
