#pragma once

#include "KeySink.h"
#include "X11KeyMap.h"

namespace Orbisong {

// Types key events into the X server's input stream, where they reach the focused window.
class XTestKeySink : public KeySink
{
public:
    XTestKeySink(Display *display, const X11KeyMap &keyMap);

    void send(const KeyEvent &event) override;

private:
    Display *m_display;
    const X11KeyMap &m_keyMap;
};

} // namespace Orbisong
