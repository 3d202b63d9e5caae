#pragma once

#include "ProcessLock.h"
#include "SteadyTimer.h"
#include "X11KeyMap.h"
#include "XTestKeySink.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace Orbisong {

// The library's one playback: parses on the caller's thread, types on its own thread.
// Every call takes the mutex, and a new playback starts only after the old thread ended.
// The X connection lives only while keys are typed, so a server that goes away later
// cannot take the calling program down with it.
class KeySender
{
public:
    static KeySender &instance();
    ~KeySender();

    int sendKeys(const char *text);
    int pauseKeys(int flag);
    void quitSendKeys();
    bool playing() const { return m_playing.load(); }

private:
    KeySender() = default;
    void stopLocked();

    std::mutex m_mutex;
    ProcessLock m_lock;
    std::unique_ptr<X11KeyMap> m_keyMap;
    std::unique_ptr<XTestKeySink> m_sink;
    std::unique_ptr<SteadyTimer> m_timer;
    std::thread m_thread;
    std::atomic<int> m_slow{0};
    std::atomic<bool> m_playing{false};
};

} // namespace Orbisong
