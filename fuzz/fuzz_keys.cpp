// The key language parser on a keyboard with letters, digits, space and shifted symbols.
#include "KeyLayout.h"
#include "KeyParser.h"
#include "KeyQueue.h"

#include <string>

namespace {

class FuzzKeyLayout : public Orbisong::KeyLayout
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
        return std::nullopt;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    FuzzKeyLayout layout;
    Orbisong::KeyParser parser(layout);
    Orbisong::KeyQueue queue;
    parser.parse(text.c_str(), queue);
    return 0;
}
