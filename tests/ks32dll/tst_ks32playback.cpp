#include "FakeKeyLayout.h"

#include "KeyParser.h"
#include "PlaybackRunner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Orbisong;

namespace {

// A clock that jumps over every wait; it can ask playback to stop after some waits.
class FakeTimer : public PlaybackTimer
{
public:
    std::uint64_t now() override { return m_now; }
    bool wait(std::uint32_t ms) override
    {
        m_now += ms;
        if (++m_waits == m_stopAfterWaits)
            m_stop = true;
        return !m_stop;
    }
    bool stopRequested() override { return m_stop; }

    std::uint64_t m_now = 1000;
    int m_waits = 0;
    int m_stopAfterWaits = -1;
    bool m_stop = false;
};

struct Sent
{
    std::uint64_t at;
    std::uint32_t message;
    std::uint32_t vk;
    bool operator==(const Sent &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Sent &sent)
{
    return out << "{" << sent.at << ", 0x" << std::hex << sent.message << std::dec << ", "
               << sent.vk << "}";
}

class RecordingSink : public KeySink
{
public:
    explicit RecordingSink(FakeTimer &timer) : m_timer(timer) {}
    void send(const KeyEvent &event) override
    {
        m_sent.push_back({m_timer.now() - 1000, event.message(), event.vk});
        m_params.push_back(event.param());
    }

    FakeTimer &m_timer;
    std::vector<Sent> m_sent;
    std::vector<std::uint32_t> m_params;
};

constexpr std::uint32_t down = 0x100;
constexpr std::uint32_t up = 0x101;
constexpr std::uint32_t sysDown = 0x104;
constexpr std::uint32_t sysUp = 0x105;

struct Playback
{
    FakeTimer timer;
    RecordingSink sink{timer};
    std::atomic<int> slow{0};

    std::vector<Sent> play(const std::string &text)
    {
        FakeKeyLayout layout;
        KeyQueue queue;
        EXPECT_EQ(KeyParser(layout).parse(text.c_str(), queue), KeysQueued) << text;
        KeyPlayback playback(std::move(queue));
        PlaybackRunner(sink, timer, slow).run(playback);
        return sink.m_sent;
    }
};

std::vector<Sent> play(const std::string &text)
{
    return Playback().play(text);
}

} // namespace

TEST(ks32Playback, EveryKeyGoesDownThenUp)
{
    EXPECT_EQ(
        play("\"abc\""),
        (std::vector<Sent>{
            {0, down, 65}, {0, up, 65}, {0, down, 66}, {0, up, 66}, {0, down, 67}, {0, up, 67}}));
    EXPECT_EQ(play("\"A\""),
              (std::vector<Sent>{{0, down, 16}, {0, down, 65}, {0, up, 65}, {0, up, 16}}));
    EXPECT_EQ(play("65"), (std::vector<Sent>{{0, down, 65}, {0, up, 65}}));
    EXPECT_TRUE(play("").empty());
}

TEST(ks32Playback, CtrlAltDel)
{
    EXPECT_EQ(
        play("CTRL-ALT-DEL"),
        (std::vector<Sent>{
            {0, down, 17}, {0, down, 18}, {0, down, 46}, {0, up, 46}, {0, up, 18}, {0, up, 17}}));
}

TEST(ks32Playback, AltMakesSystemKeys)
{
    Playback playback;
    EXPECT_EQ(playback.play("ALT f"),
              (std::vector<Sent>{{0, sysDown, 18}, {0, sysDown, 70}, {0, sysUp, 70}, {0, up, 18}}));
    EXPECT_EQ(playback.sink.m_params,
              (std::vector<std::uint32_t>{18 | 1u << 29, 70 | 1u << 29, 70 | 1u << 29 | 1u << 31,
                                          18 | 1u << 31}));
    EXPECT_EQ(play("ALT F"), (std::vector<Sent>{{0, sysDown, 18},
                                                {0, sysDown, 16},
                                                {0, sysDown, 70},
                                                {0, sysUp, 70},
                                                {0, sysUp, 16},
                                                {0, up, 18}}));
    // ALT alone released is still a system key: that is what opens a menu bar.
    EXPECT_EQ(play("ALT"), (std::vector<Sent>{{0, sysDown, 18}, {0, sysUp, 18}}));
    EXPECT_EQ(play("CTRL-ALT"),
              (std::vector<Sent>{{0, down, 17}, {0, down, 18}, {0, up, 18}, {0, up, 17}}));
}

TEST(ks32Playback, HeldModifiersCountPresses)
{
    // The capital's own SHIFT must not release the SHIFT the prefix holds.
    EXPECT_EQ(
        play("SHIFT-\"Ab\""),
        (std::vector<Sent>{
            {0, down, 16}, {0, down, 65}, {0, up, 65}, {0, down, 66}, {0, up, 66}, {0, up, 16}}));
}

TEST(ks32Playback, RepeatedStringRepeatsItsLastKey)
{
    EXPECT_EQ(play("\"ab\"[3]"), (std::vector<Sent>{{0, down, 65},
                                                    {0, up, 65},
                                                    {0, down, 66},
                                                    {0, up, 66},
                                                    {0, down, 66},
                                                    {0, up, 66},
                                                    {0, down, 66},
                                                    {0, up, 66}}));
}

TEST(ks32Playback, PauseDelaysTheNextKey)
{
    EXPECT_EQ(play("a /W 10 b"),
              (std::vector<Sent>{{0, down, 65}, {0, up, 65}, {540, down, 66}, {540, up, 66}}));
    EXPECT_EQ(play("/W 10"), std::vector<Sent>{});
}

TEST(ks32Playback, SlowModeSpacesEventsTenMillisecondsApart)
{
    Playback playback;
    playback.slow = 1;
    EXPECT_EQ(playback.play("\"ab\" /W 1 c"), (std::vector<Sent>{{10, down, 65},
                                                                 {20, up, 65},
                                                                 {30, down, 66},
                                                                 {40, up, 66},
                                                                 {94, down, 67},
                                                                 {104, up, 67}}));
}

TEST(ks32Playback, StoppingReleasesWhatWasPressed)
{
    Playback playback;
    playback.timer.m_stopAfterWaits = 1;
    EXPECT_EQ(playback.play("CTRL-SHIFT-(a /W 5 b)"), (std::vector<Sent>{{0, down, 17},
                                                                         {0, down, 16},
                                                                         {0, down, 65},
                                                                         {0, up, 65},
                                                                         {270, up, 16},
                                                                         {270, up, 17}}));
}
