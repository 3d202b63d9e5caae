#pragma once

#include <cstdint>

namespace Orbisong {

// One key going down or up. `system` marks what the keyboard reports as a system key:
// a key typed while ALT is held without CTRL.
struct KeyEvent
{
    std::uint8_t vk = 0;
    bool down = false;
    bool system = false;

    // The window-message numbers of key-down, key-up and their system-key forms.
    std::uint32_t message() const { return (down ? 0x100 : 0x101) + (system ? 4 : 0); }
    // The virtual-key code with bit 31 for a release and bit 29 for a system key.
    std::uint32_t param() const { return vk | (down ? 0u : 1u << 31) | (system ? 1u << 29 : 0u); }

    bool operator==(const KeyEvent &) const = default;
};

} // namespace Orbisong
