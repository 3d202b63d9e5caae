#include "DesktopWindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace Orbisong {

namespace {

int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

bool hasClass(Display *display, Window window, const QByteArray &name)
{
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool match =
        (hint.res_class && name == hint.res_class) || (hint.res_name && name == hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    if (hint.res_name)
        XFree(hint.res_name);
    return match;
}

// Window managers wrap each top-level window in a frame, so the class sits one level down.
bool searchTree(Display *display, Window window, const QByteArray &name, int depth)
{
    if (hasClass(display, window, name))
        return true;
    if (depth == 0)
        return false;
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = searchTree(display, children[i], name, depth - 1);
    if (children)
        XFree(children);
    return found;
}

} // namespace

bool desktopWindowExists(const QString &className)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    // A window may vanish while the tree is walked; Xlib's default handler would end the
    // program for that.
    XErrorHandler previous = XSetErrorHandler(ignoreError);
    const bool found = searchTree(display, DefaultRootWindow(display), className.toLatin1(), 2);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return found;
}

} // namespace Orbisong
