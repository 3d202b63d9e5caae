#pragma once

#include "KeyEvent.h"

namespace Orbisong {

// Receives the key events that playback produces.
class KeySink
{
public:
    virtual ~KeySink() = default;
    virtual void send(const KeyEvent &event) = 0;
};

} // namespace Orbisong
