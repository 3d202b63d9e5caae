#include "KeyParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <strings.h>

namespace Orbisong {

namespace {

struct KeyName
{
    const char *name;
    std::uint8_t vk;
};

// First match wins. BREAK carries the CTRL code, so it acts as the CTRL modifier; callers
// rely on that.
constexpr std::array<KeyName, 45> keyNames = {{
    {"ALT", 18},    {"MENU", 18},   {"CTRL", 17},     {"SHIFT", 16},       {"CANCEL", 3},
    {"TAB", 9},     {"CLEAR", 12},  {"ENTER", 13},    {"PAUSE", 19},       {"CAPSLOCK", 20},
    {"ESCAPE", 27}, {"ESC", 27},    {"NUMLOCK", 144}, {"SCROLLLOCK", 145}, {"HELP", 47},
    {"PRTSC", 44},  {"BREAK", 17},  {"CLEAR", 12},    {"BACKSPACE", 8},    {"BS", 8},
    {"BKSP", 8},    {"DELETE", 46}, {"DEL", 46},      {"INSERT", 45},      {"INS", 45},
    {"LEFT", 37},   {"RIGHT", 39},  {"UP", 38},       {"DOWN", 40},        {"PGUP", 33},
    {"PGDN", 34},   {"HOME", 36},   {"END", 35},      {"F1", 112},         {"F2", 113},
    {"F3", 114},    {"F4", 115},    {"F5", 116},      {"F6", 117},         {"F7", 118},
    {"F8", 119},    {"F9", 120},    {"F10", 121},     {"F11", 122},        {"F12", 123},
}};

// Large enough that any count reaching it overflows the queue, small enough not to wrap.
constexpr std::uint64_t saturatedNumber = 1u << 30;

bool endsWord(char c)
{
    return c == '\0' || c == ' ' || c == '-' || c == '[' || c == '(' || c == ')' || c == '"';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads decimal digits, saturating instead of wrapping.
std::uint64_t readNumber(const char *&pos)
{
    std::uint64_t value = 0;
    while (isDigit(*pos)) {
        value = std::min(saturatedNumber, value * 10 + std::uint64_t(*pos - '0'));
        ++pos;
    }
    return value;
}

} // namespace

KeyParser::KeyParser(KeyLayout &layout) : m_layout(layout)
{
}

int KeyParser::parse(const char *text, KeyQueue &queue)
{
    queue.clear();
    m_queue = &queue;
    m_depth = 0;
    m_pos = text ? text : "";
    for (;;) {
        skipSpaces();
        if (*m_pos == '\0')
            return KeysQueued;
        if (const int result = parseToken())
            return result;
        skipSpacesAndDashes();
    }
}

int KeyParser::parseToken()
{
    switch (*m_pos) {
    case '!':
        ++m_pos;
        return KeysQueued;
    case '/':
        if (m_pos[1] == 'W' || m_pos[1] == 'w')
            return parsePause();
        return parseKeyWord();
    case '"':
        return parseQuoted();
    case '(':
        return parseGroup();
    default:
        return parseKeyWord();
    }
}

int KeyParser::parsePause()
{
    m_pos += 2;
    skipSpaces();
    const std::uint64_t ticks = readNumber(m_pos);
    const std::uint64_t ms =
        std::min<std::uint64_t>(ticks * 54, std::numeric_limits<std::uint32_t>::max());
    if (m_queue->size() + 2 > MaxQueueEntries)
        return QueueFull;
    m_queue->push_back(DelayMarker);
    m_queue->push_back(std::uint32_t(ms));
    return KeysQueued;
}

int KeyParser::parseQuoted()
{
    ++m_pos;
    std::optional<KeyScan> last;
    while (*m_pos != '\0' && *m_pos != '"') {
        last = m_layout.scan(static_cast<unsigned char>(*m_pos));
        if (!last)
            return BadKeyName;
        if (const int result = pushKey(*last, 1))
            return result;
        ++m_pos;
    }
    if (*m_pos == '"')
        ++m_pos;
    std::uint64_t count = 1;
    if (const int result = parseRepeat(count))
        return result;
    if (last && count > 1)
        return pushKey(*last, count - 1);
    return KeysQueued;
}

int KeyParser::parseGroup()
{
    // Groups nested deeper than anyone types are refused before they exhaust the stack; the
    // parse ends there, so the depth need not be restored on failure.
    if (++m_depth > MaxGroupDepth)
        return UnclosedGroup;
    ++m_pos;
    for (;;) {
        skipSpaces();
        if (*m_pos == '\0')
            return UnclosedGroup;
        if (*m_pos == ')') {
            ++m_pos;
            --m_depth;
            return KeysQueued;
        }
        if (const int result = parseToken())
            return result;
        skipSpacesAndDashes();
    }
}

int KeyParser::parseKeyWord()
{
    const char *start = m_pos;
    while (!endsWord(*m_pos))
        ++m_pos;
    const std::optional<KeyScan> scan = resolveWord(std::string_view(start, m_pos - start));
    if (!scan)
        return BadKeyName;
    if (isModifierKey(scan->vk))
        return parseModifierPrefix(scan->vk);
    std::uint64_t count = 1;
    if (const int result = parseRepeat(count))
        return result;
    return pushKey(*scan, count);
}

std::optional<KeyScan> KeyParser::resolveWord(std::string_view word)
{
    if (word.empty())
        return std::nullopt;
    if (isDigit(word.front())) {
        const char *digits = word.data();
        const std::uint64_t code = readNumber(digits);
        // 0 is no key and codes above 254 cannot travel as one key (255 means "none").
        if (code == 0 || code > 254)
            return std::nullopt;
        return KeyScan{std::uint8_t(code)};
    }
    for (const KeyName &key : keyNames) {
        if (std::strlen(key.name) == word.size() &&
            strncasecmp(key.name, word.data(), word.size()) == 0)
            return KeyScan{key.vk};
    }
    if (word.size() == 1)
        return m_layout.scan(static_cast<unsigned char>(word.front()));
    return std::nullopt;
}

int KeyParser::parseModifierPrefix(std::uint8_t vk)
{
    if (*m_pos == '-')
        ++m_pos;
    if (const int result = push(ModifierPress | vk))
        return result;
    skipSpaces();
    // A modifier at the end of the text or of a group is pressed and released on its own.
    if (*m_pos != '\0' && *m_pos != ')') {
        if (const int result = parseToken())
            return result;
    }
    return push(ModifierRelease | vk);
}

int KeyParser::parseRepeat(std::uint64_t &count)
{
    skipSpaces();
    if (*m_pos != '[')
        return KeysQueued;
    ++m_pos;
    count = readNumber(m_pos);
    if (*m_pos == ']')
        ++m_pos;
    return count == 0 ? ZeroRepeat : KeysQueued;
}

int KeyParser::pushKey(const KeyScan &scan, std::uint64_t count)
{
    // Every modifier the character needs is held around all its repeats, and released
    // in reverse order so that held counts nest.
    const std::array<std::pair<bool, std::uint8_t>, 3> modifiers = {
        {{scan.shift, VkShift}, {scan.ctrl, VkControl}, {scan.alt, VkAlt}}};
    for (const auto &[needed, vk] : modifiers) {
        if (needed) {
            if (const int result = push(ModifierPress | vk))
                return result;
        }
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        if (const int result = push(scan.vk))
            return result;
    }
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
        if (it->first) {
            if (const int result = push(ModifierRelease | it->second))
                return result;
        }
    }
    return KeysQueued;
}

int KeyParser::push(std::uint32_t entry)
{
    if (m_queue->size() >= MaxQueueEntries)
        return QueueFull;
    m_queue->push_back(entry);
    return KeysQueued;
}

void KeyParser::skipSpaces()
{
    while (*m_pos == ' ')
        ++m_pos;
}

void KeyParser::skipSpacesAndDashes()
{
    while (*m_pos == ' ' || *m_pos == '-')
        ++m_pos;
}

} // namespace Orbisong
