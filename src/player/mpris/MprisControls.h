#pragma once

#include <functional>

namespace Orbisong {

// What the desktop's media controls ask of the player window: each acts the way the window's
// own control does, so the window shows the change. An empty function does nothing.
struct MprisControls
{
    std::function<void()> playPause;
    std::function<void()> stop;
    std::function<void()> next;
    std::function<void()> previous;
    // 0..65535, as the volume bar sets it.
    std::function<void(int)> setVolume;
    // The position moved inside the current step: the window redraws its time.
    std::function<void()> refresh;
    std::function<void()> raise;
    std::function<void()> quit;
};

} // namespace Orbisong
