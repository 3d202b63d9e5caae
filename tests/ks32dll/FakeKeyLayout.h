#pragma once

#include "KeyLayout.h"

// A US-like keyboard for parser tests: letters, digits and space, "!" on SHIFT-1, and "@"
// behind CTRL+ALT as on keyboards with an AltGr key. "~" has no key.
class FakeKeyLayout : public Orbisong::KeyLayout
{
public:
    std::optional<Orbisong::KeyScan> scan(unsigned char c) override
    {
        using Orbisong::KeyScan;
        if (c >= 'a' && c <= 'z')
            return KeyScan{std::uint8_t(c - 'a' + 'A')};
        if (c >= 'A' && c <= 'Z')
            return KeyScan{std::uint8_t(c), true};
        if ((c >= '0' && c <= '9') || c == ' ')
            return KeyScan{std::uint8_t(c)};
        if (c == '!')
            return KeyScan{'1', true};
        if (c == '@')
            return KeyScan{'Q', false, true, true};
        return std::nullopt;
    }
};
