#include "KeySender.h"

#include "KeyParser.h"
#include "PlaybackRunner.h"

#include <X11/extensions/XTest.h>

#include <cstdio>

namespace Orbisong {

namespace {

// A connection of our own with the XTest extension, or none.
Display *openDisplay()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return display;
}

} // namespace

KeySender &KeySender::instance()
{
    static KeySender sender;
    return sender;
}

KeySender::~KeySender()
{
    std::lock_guard lock(m_mutex);
    stopLocked();
}

int KeySender::sendKeys(const char *text)
{
    std::lock_guard lock(m_mutex);
    stopLocked();

    std::string problem;
    if (!m_lock.acquire(problem)) {
        std::fprintf(stderr, "ks32: %s\n", problem.c_str());
        return NoPlayback;
    }
    Display *display = openDisplay();
    if (!display)
        return NoPlayback;

    // The keyboard map is read afresh so that a layout switch since the last call counts.
    auto keyMap = std::make_unique<X11KeyMap>(display);
    KeyQueue queue;
    if (const int result = KeyParser(*keyMap).parse(text, queue)) {
        XCloseDisplay(display);
        return result;
    }

    m_keyMap = std::move(keyMap);
    m_sink = std::make_unique<XTestKeySink>(display, *m_keyMap);
    m_timer = std::make_unique<SteadyTimer>();
    m_playing = true;
    m_thread = std::thread([this, display, playback = KeyPlayback(std::move(queue))]() mutable {
        PlaybackRunner(*m_sink, *m_timer, m_slow).run(playback);
        XSync(display, False);
        XCloseDisplay(display);
        m_playing = false;
    });
    return KeysQueued;
}

int KeySender::pauseKeys(int flag)
{
    m_slow = flag;
    return flag;
}

void KeySender::quitSendKeys()
{
    std::lock_guard lock(m_mutex);
    stopLocked();
}

void KeySender::stopLocked()
{
    if (m_timer)
        m_timer->requestStop();
    if (m_thread.joinable())
        m_thread.join();
    m_sink.reset();
    m_keyMap.reset();
    m_playing = false;
}

} // namespace Orbisong
