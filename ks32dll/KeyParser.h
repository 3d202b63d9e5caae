#pragma once

#include "KeyLayout.h"
#include "KeyQueue.h"

#include <string_view>

namespace Orbisong {

// Turns a key-language text into the queue that playback types.
class KeyParser
{
public:
    explicit KeyParser(KeyLayout &layout);

    // Deeper nesting of "(" is refused as an unclosed group.
    static constexpr int MaxGroupDepth = 100;

    // Returns a KeyResult; on failure the queue content is meaningless.
    int parse(const char *text, KeyQueue &queue);

private:
    int parseToken();
    int parsePause();
    int parseQuoted();
    int parseGroup();
    int parseKeyWord();
    int parseModifierPrefix(std::uint8_t vk);
    int parseRepeat(std::uint64_t &count);
    std::optional<KeyScan> resolveWord(std::string_view word);
    int pushKey(const KeyScan &scan, std::uint64_t count);
    int push(std::uint32_t entry);
    void skipSpaces();
    void skipSpacesAndDashes();

    KeyLayout &m_layout;
    const char *m_pos = nullptr;
    KeyQueue *m_queue = nullptr;
    int m_depth = 0;
};

} // namespace Orbisong
