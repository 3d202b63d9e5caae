#pragma once

#include "KeyLayout.h"

#include <X11/Xlib.h>

#include <array>
#include <vector>

namespace Orbisong {

// Virtual-key codes on the display's current keyboard map: which keycode each code
// presses, and which code (plus SHIFT) types a character. Keys of the map that no fixed
// code names get spare codes as characters need them.
class X11KeyMap : public KeyLayout
{
public:
    explicit X11KeyMap(Display *display);

    std::optional<KeyScan> scan(unsigned char c) override;
    // 0 when the code has no key on this map.
    KeyCode keycode(std::uint8_t vk) const { return m_keycodes[vk]; }

private:
    KeySym symbol(int keycode, int level) const;
    std::optional<std::uint8_t> codeForKeycode(KeyCode keycode);

    int m_minKeycode = 0;
    int m_maxKeycode = 0;
    int m_symbolsPerKeycode = 0;
    std::vector<KeySym> m_symbols;
    std::array<KeyCode, 256> m_keycodes{};
    std::size_t m_nextSpare = 0;
};

} // namespace Orbisong
