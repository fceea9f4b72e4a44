#pragma once
// Events a test sends through the X server, and questions it asks it.

#include <X11/Xlib.h>

namespace wowfix::test {

// A left click at (x, y) of `target`.
inline void clickThroughServer(Display* display, Window target, int x, int y) {
    for (int type : {ButtonPress, ButtonRelease}) {
        XEvent event{};
        event.xbutton.type = type;
        event.xbutton.display = display;
        event.xbutton.window = target;
        event.xbutton.x = x;
        event.xbutton.y = y;
        event.xbutton.button = Button1;
        event.xbutton.same_screen = True;
        XSendEvent(display, target, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
    }
    XSync(display, False);
}

// The parent of `window` and how many children it has; 0 parent when the
// server does not know the window.
inline Window parentOf(Display* display, Window window, unsigned* childCount = nullptr) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return 0;
    if (children != nullptr) XFree(children);
    if (childCount != nullptr) *childCount = count;
    return parent;
}

}  // namespace wowfix::test
