// Types a key-language text into whatever window has the focus after a short delay, so
// the language can be tried in any editor: ks32send [--delay MS] [--slow] TEXT

#include "ks32.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

const char *resultText(int result)
{
    switch (result) {
    case KS32_BAD_KEY_NAME:
        return "unknown key name or a character with no key";
    case KS32_UNCLOSED_GROUP:
        return "a group \"(\" has no closing \")\"";
    case KS32_ZERO_REPEAT:
        return "a repeat count of 0";
    case KS32_QUEUE_FULL:
        return "too many keys (more than 4095 queue entries)";
    case KS32_NO_PLAYBACK:
        return "cannot type keys (no X display with XTest, or the library is in use)";
    default:
        return "unknown result";
    }
}

int usage()
{
    std::fprintf(stderr, "usage: ks32send [--delay MS] [--slow] [--] TEXT\n"
                         "  types TEXT into the focused window after MS milliseconds "
                         "(default 2000)\n"
                         "  example: ks32send '\"Hello\" SHIFT-\"w\" \"orld\" ENTER'\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    long delayMs = 2000;
    bool slow = false;
    const char *text = nullptr;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        if (options && std::strcmp(argv[i], "--") == 0) {
            options = false;
        } else if (options && std::strcmp(argv[i], "--delay") == 0 && i + 1 < argc) {
            char *end = nullptr;
            delayMs = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || delayMs < 0)
                return usage();
        } else if (options && std::strcmp(argv[i], "--slow") == 0) {
            slow = true;
        } else if (!text && (!options || std::strncmp(argv[i], "--", 2) != 0)) {
            text = argv[i];
        } else {
            return usage();
        }
    }
    if (!text)
        return usage();

    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    PauseKeys(slow ? 1 : 0);
    const int result = SendKeys(text) & 0xFF;
    if (result != KS32_QUEUED) {
        std::fprintf(stderr, "ks32send: %d: %s\n", result, resultText(result));
        return result;
    }
    while (KeysPlaying())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return 0;
}
