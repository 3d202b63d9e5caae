#include "X11KeyMap.h"

#include <X11/keysym.h>
#include <X11/Xutil.h>

#include <utility>

namespace Orbisong {

namespace {

// Fixed virtual-key codes and the unshifted symbol of the key they stand for. The
// punctuation codes name the keys by their place on a US keyboard.
const std::vector<std::pair<std::uint8_t, KeySym>> &fixedCodes()
{
    static const std::vector<std::pair<std::uint8_t, KeySym>> codes = [] {
        std::vector<std::pair<std::uint8_t, KeySym>> list = {
            {3, XK_Cancel},         {8, XK_BackSpace},     {9, XK_Tab},
            {12, XK_Clear},         {13, XK_Return},       {16, XK_Shift_L},
            {17, XK_Control_L},     {18, XK_Alt_L},        {19, XK_Pause},
            {20, XK_Caps_Lock},     {27, XK_Escape},       {32, XK_space},
            {33, XK_Prior},         {34, XK_Next},         {35, XK_End},
            {36, XK_Home},          {37, XK_Left},         {38, XK_Up},
            {39, XK_Right},         {40, XK_Down},         {41, XK_Select},
            {42, XK_Print},         {43, XK_Execute},      {44, XK_Print},
            {45, XK_Insert},        {46, XK_Delete},       {47, XK_Help},
            {91, XK_Super_L},       {92, XK_Super_R},      {93, XK_Menu},
            {106, XK_KP_Multiply},  {107, XK_KP_Add},      {108, XK_KP_Separator},
            {109, XK_KP_Subtract},  {110, XK_KP_Decimal},  {111, XK_KP_Divide},
            {144, XK_Num_Lock},     {145, XK_Scroll_Lock}, {160, XK_Shift_L},
            {161, XK_Shift_R},      {162, XK_Control_L},   {163, XK_Control_R},
            {164, XK_Alt_L},        {165, XK_Alt_R},       {0xBA, XK_semicolon},
            {0xBB, XK_equal},       {0xBC, XK_comma},      {0xBD, XK_minus},
            {0xBE, XK_period},      {0xBF, XK_slash},      {0xC0, XK_grave},
            {0xDB, XK_bracketleft}, {0xDC, XK_backslash},  {0xDD, XK_bracketright},
            {0xDE, XK_apostrophe},  {0xE2, XK_less},
        };
        for (int i = 0; i < 10; ++i) {
            list.emplace_back(std::uint8_t('0' + i), KeySym(XK_0 + i));
            list.emplace_back(std::uint8_t(96 + i), KeySym(XK_KP_0 + i));
        }
        for (int i = 0; i < 26; ++i)
            list.emplace_back(std::uint8_t('A' + i), KeySym(XK_a + i));
        for (int i = 0; i < 24; ++i)
            list.emplace_back(std::uint8_t(112 + i), KeySym(XK_F1 + i));
        return list;
    }();
    return codes;
}

// Codes that no key owns, handed out to keys of other keyboard maps.
constexpr std::uint8_t spareCodes[] = {
    0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E,
    0x9F, 0xE0, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5};

KeySym symbolForCharacter(unsigned char c)
{
    switch (c) {
    case '\b':
        return XK_BackSpace;
    case '\t':
        return XK_Tab;
    case '\n':
    case '\r':
        return XK_Return;
    case 27:
        return XK_Escape;
    default:
        break;
    }
    // Printable ASCII and Latin-1 characters are their own key symbols.
    if ((c >= 0x20 && c <= 0x7E) || c >= 0xA0)
        return c;
    return NoSymbol;
}

} // namespace

X11KeyMap::X11KeyMap(Display *display)
{
    XDisplayKeycodes(display, &m_minKeycode, &m_maxKeycode);
    const int count = m_maxKeycode - m_minKeycode + 1;
    if (KeySym *symbols =
            XGetKeyboardMapping(display, KeyCode(m_minKeycode), count, &m_symbolsPerKeycode)) {
        m_symbols.assign(symbols, symbols + std::size_t(count) * m_symbolsPerKeycode);
        XFree(symbols);
    }
    for (const auto &[vk, keysym] : fixedCodes()) {
        if (m_keycodes[vk] != 0)
            continue;
        for (int keycode = m_minKeycode; keycode <= m_maxKeycode; ++keycode) {
            if (symbol(keycode, 0) == keysym) {
                m_keycodes[vk] = KeyCode(keycode);
                break;
            }
        }
    }
}

KeySym X11KeyMap::symbol(int keycode, int level) const
{
    if (m_symbolsPerKeycode == 0 || keycode < m_minKeycode || keycode > m_maxKeycode)
        return NoSymbol;
    const KeySym *row = &m_symbols[std::size_t(keycode - m_minKeycode) * m_symbolsPerKeycode];
    KeySym plain = row[0];
    KeySym shifted = m_symbolsPerKeycode > 1 ? row[1] : NoSymbol;
    // A key that lists one letter types its lower case plainly and its upper case shifted.
    if (shifted == NoSymbol) {
        KeySym lower = NoSymbol;
        KeySym upper = NoSymbol;
        XConvertCase(plain, &lower, &upper);
        plain = lower;
        shifted = upper;
    }
    return level == 0 ? plain : shifted;
}

std::optional<KeyScan> X11KeyMap::scan(unsigned char c)
{
    const KeySym wanted = symbolForCharacter(c);
    if (wanted == NoSymbol)
        return std::nullopt;
    for (int level = 0; level < 2; ++level) {
        for (int keycode = m_minKeycode; keycode <= m_maxKeycode; ++keycode) {
            if (symbol(keycode, level) != wanted)
                continue;
            if (const std::optional<std::uint8_t> vk = codeForKeycode(KeyCode(keycode)))
                return KeyScan{*vk, level == 1};
        }
    }
    return std::nullopt;
}

std::optional<std::uint8_t> X11KeyMap::codeForKeycode(KeyCode keycode)
{
    for (const auto &[vk, keysym] : fixedCodes()) {
        if (m_keycodes[vk] == keycode)
            return vk;
    }
    for (std::size_t i = 0; i < m_nextSpare; ++i) {
        if (m_keycodes[spareCodes[i]] == keycode)
            return spareCodes[i];
    }
    if (m_nextSpare == std::size(spareCodes))
        return std::nullopt;
    const std::uint8_t vk = spareCodes[m_nextSpare++];
    m_keycodes[vk] = keycode;
    return vk;
}

} // namespace Orbisong
