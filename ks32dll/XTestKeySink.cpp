#include "XTestKeySink.h"

#include <X11/extensions/XTest.h>

namespace Orbisong {

XTestKeySink::XTestKeySink(Display *display, const X11KeyMap &keyMap)
    : m_display(display), m_keyMap(keyMap)
{
}

void XTestKeySink::send(const KeyEvent &event)
{
    const KeyCode keycode = m_keyMap.keycode(event.vk);
    if (keycode == 0)
        return;
    XTestFakeKeyEvent(m_display, keycode, event.down ? True : False, CurrentTime);
    XFlush(m_display);
}

} // namespace Orbisong
