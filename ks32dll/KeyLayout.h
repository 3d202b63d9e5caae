#pragma once

#include <cstdint>
#include <optional>

namespace Orbisong {

// The key that types a character, and the modifiers it needs.
struct KeyScan
{
    std::uint8_t vk = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Answers which key of the keyboard map types a character.
class KeyLayout
{
public:
    virtual ~KeyLayout() = default;
    // Empty when no key of the map types c.
    virtual std::optional<KeyScan> scan(unsigned char c) = 0;
};

} // namespace Orbisong
