#include "FakeKeyLayout.h"

#include "KeyParser.h"

#include <gtest/gtest.h>

#include <string>

using namespace Orbisong;

namespace {

constexpr std::uint32_t press(std::uint32_t vk)
{
    return ModifierPress | vk;
}

constexpr std::uint32_t release(std::uint32_t vk)
{
    return ModifierRelease | vk;
}

struct Parsed
{
    int result;
    KeyQueue queue;
};

Parsed parse(const std::string &text)
{
    FakeKeyLayout layout;
    Parsed parsed{0, {}};
    parsed.result = KeyParser(layout).parse(text.c_str(), parsed.queue);
    return parsed;
}

KeyQueue queueOf(const std::string &text)
{
    const Parsed parsed = parse(text);
    EXPECT_EQ(parsed.result, KeysQueued) << text;
    return parsed.queue;
}

} // namespace

TEST(ks32Parser, EmptyAndIgnoredTextsQueueNothing)
{
    EXPECT_EQ(queueOf(""), KeyQueue{});
    EXPECT_EQ(queueOf("   "), KeyQueue{});
    EXPECT_EQ(queueOf("! !"), KeyQueue{});
    FakeKeyLayout layout;
    KeyQueue queue;
    EXPECT_EQ(KeyParser(layout).parse(nullptr, queue), KeysQueued);
    EXPECT_TRUE(queue.empty());
}

TEST(ks32Parser, QuotedStringsTypeTheirCharactersWithTheModifiersTheyNeed)
{
    EXPECT_EQ(queueOf("\"abc\""), (KeyQueue{65, 66, 67}));
    EXPECT_EQ(queueOf("\"A\""), (KeyQueue{press(16), 65, release(16)}));
    // CTRL and ALT nest inside SHIFT order and are released in reverse.
    EXPECT_EQ(queueOf("\"@\""), (KeyQueue{press(17), press(18), 81, release(18), release(17)}));
    // An unclosed quote ends with the text.
    EXPECT_EQ(queueOf("\"ab"), (KeyQueue{65, 66}));
    EXPECT_EQ(queueOf("\"\""), KeyQueue{});
}

TEST(ks32Parser, KeyWordsResolveByTableNumberOrCharacter)
{
    EXPECT_EQ(queueOf("ENTER enter Tab"), (KeyQueue{13, 13, 9}));
    EXPECT_EQ(queueOf("ESC ESCAPE BS BKSP BACKSPACE"), (KeyQueue{27, 27, 8, 8, 8}));
    EXPECT_EQ(queueOf("F1 F12 PGUP PGDN HOME END"), (KeyQueue{112, 123, 33, 34, 36, 35}));
    EXPECT_EQ(queueOf("CLEAR CANCEL HELP PRTSC"), (KeyQueue{12, 3, 47, 44}));
    EXPECT_EQ(queueOf("65"), (KeyQueue{65}));
    EXPECT_EQ(queueOf("254"), (KeyQueue{254}));
    EXPECT_EQ(queueOf("a-b"), (KeyQueue{65, 66}));
    EXPECT_EQ(queueOf("A"), (KeyQueue{press(16), 65, release(16)}));
}

TEST(ks32Parser, WordsEndAtBracketsParenthesesAndQuotes)
{
    EXPECT_EQ(queueOf("ENTER[3]"), (KeyQueue{13, 13, 13}));
    EXPECT_EQ(queueOf("(TAB)"), (KeyQueue{9}));
    EXPECT_EQ(queueOf("TAB\"a\""), (KeyQueue{9, 65}));
    EXPECT_EQ(queueOf("TAB(a)"), (KeyQueue{9, 65}));
    EXPECT_EQ(parse("TAB[0]").result, ZeroRepeat);
}

TEST(ks32Parser, RepeatCounts)
{
    EXPECT_EQ(queueOf("\"ab\"[3]"), (KeyQueue{65, 66, 66, 66}));
    EXPECT_EQ(queueOf("TAB [2]"), (KeyQueue{9, 9}));
    EXPECT_EQ(queueOf("TAB[2"), (KeyQueue{9, 9}));
    // Every repeat of a character keeps all the modifiers it needs.
    EXPECT_EQ(queueOf("A[2]"), (KeyQueue{press(16), 65, 65, release(16)}));
    EXPECT_EQ(queueOf("\"@\"[2]"), (KeyQueue{press(17), press(18), 81, release(18), release(17),
                                             press(17), press(18), 81, release(18), release(17)}));
    EXPECT_EQ(queueOf("\"\"[4]"), KeyQueue{});
    EXPECT_EQ(parse("\"ab\"[0]").result, ZeroRepeat);
    EXPECT_EQ(parse("a[]").result, ZeroRepeat);
}

TEST(ks32Parser, ModifierPrefixesHoldOverTheNextToken)
{
    EXPECT_EQ(queueOf("CTRL-ALT-DEL"),
              (KeyQueue{press(17), press(18), 46, release(18), release(17)}));
    // A single capital letter is typed as such, so its SHIFT comes inside ALT.
    EXPECT_EQ(queueOf("ALT F"), (KeyQueue{press(18), press(16), 70, release(16), release(18)}));
    EXPECT_EQ(queueOf("ALT-f"), (KeyQueue{press(18), 70, release(18)}));
    EXPECT_EQ(queueOf("ALT"), (KeyQueue{press(18), release(18)}));
    EXPECT_EQ(queueOf("MENU-x"), (KeyQueue{press(18), 88, release(18)}));
    EXPECT_EQ(queueOf("BREAK-c"), (KeyQueue{press(17), 67, release(17)}));
    EXPECT_EQ(queueOf("16-a"), (KeyQueue{press(16), 65, release(16)}));
    EXPECT_EQ(queueOf("SHIFT-(a b c) d"), (KeyQueue{press(16), 65, 66, 67, release(16), 68}));
    EXPECT_EQ(queueOf("(SHIFT)"), (KeyQueue{press(16), release(16)}));
    // A held SHIFT and the SHIFT a capital needs are counted, not toggled.
    EXPECT_EQ(queueOf("SHIFT-\"A\""),
              (KeyQueue{press(16), press(16), 65, release(16), release(16)}));
    EXPECT_EQ(queueOf("\"Hello\" SHIFT-\"w\" \"orld\" ENTER"),
              (KeyQueue{press(16), 72, release(16), 69, 76, 76, 79, press(16), 87, release(16), 79,
                        82, 76, 68, 13}));
}

TEST(ks32Parser, PausesQueueMillisecondsOfTimerTicks)
{
    EXPECT_EQ(queueOf("/W 10"), (KeyQueue{DelayMarker, 540}));
    EXPECT_EQ(queueOf("/w3 a"), (KeyQueue{DelayMarker, 162, 65}));
    EXPECT_EQ(queueOf("/W"), (KeyQueue{DelayMarker, 0}));
}

TEST(ks32Parser, Groups)
{
    EXPECT_EQ(queueOf("(a (b) c)"), (KeyQueue{65, 66, 67}));
    EXPECT_EQ(parse("(TAB").result, UnclosedGroup);
    EXPECT_EQ(parse("((a)").result, UnclosedGroup);
    EXPECT_EQ(parse("(xyz)").result, BadKeyName);
}

TEST(ks32Parser, DeepNestingEndsInAnErrorNotAStackOverflow)
{
    const auto nested = [](int depth) {
        return std::string(size_t(depth), '(') + "a" + std::string(size_t(depth), ')');
    };
    EXPECT_EQ(queueOf(nested(KeyParser::MaxGroupDepth)), (KeyQueue{65}));
    EXPECT_EQ(parse(nested(KeyParser::MaxGroupDepth + 1)).result, UnclosedGroup);
    EXPECT_EQ(parse(std::string(1000000, '(')).result, UnclosedGroup);
    // Modifiers nest too, but each one takes a queue entry first.
    std::string modifiers;
    for (int i = 0; i < 1000000; ++i)
        modifiers += "ALT-";
    EXPECT_EQ(parse(modifiers + "a").result, QueueFull);
}

TEST(ks32Parser, BadKeyNames)
{
    for (const char *text : {"xyz", "[3]", ")", "~", "\"a~\"", "ENTERX", "0", "255", "65535",
                             "99999999999999999999999", "/x"})
        EXPECT_EQ(parse(text).result, BadKeyName) << text;
}

TEST(ks32Parser, QueueLimit)
{
    EXPECT_EQ(parse("a[4095]").queue.size(), 4095u);
    EXPECT_EQ(parse("a[4095]").result, KeysQueued);
    EXPECT_EQ(parse("a[4096]").result, QueueFull);
    EXPECT_EQ(parse("a[4094] b").result, KeysQueued);
    EXPECT_EQ(parse("a[4094] B").result, QueueFull);
    EXPECT_EQ(parse("a[99999999999999999999999]").result, QueueFull);

    std::string pauses;
    for (int i = 0; i < 2047; ++i)
        pauses += "/W1 ";
    EXPECT_EQ(parse(pauses).result, KeysQueued);
    EXPECT_EQ(parse(pauses + "/W1").result, QueueFull);
}
