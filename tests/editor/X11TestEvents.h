#pragma once
// Events a test sends through the X server, and questions it asks it.

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

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

// Presses keys in the top-level window titled `title` once it appears.
inline void pressKeysIn(const char* title, const std::vector<KeySym>& keys) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) return;
    Window found = 0;
    for (int attempt = 0; attempt < 500 && found == 0; ++attempt) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            if (XFetchName(d, children[i], &name) != 0 && name != nullptr) {
                if (std::string(name) == title) found = children[i];
                XFree(name);
            }
        }
        if (children != nullptr) XFree(children);
        if (found == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (KeySym key : keys) {
        XEvent event{};
        event.xkey.type = KeyPress;
        event.xkey.display = d;
        event.xkey.window = found;
        event.xkey.keycode = XKeysymToKeycode(d, key);
        event.xkey.same_screen = True;
        XSendEvent(d, found, True, KeyPressMask, &event);
        XSync(d, False);
    }
    XCloseDisplay(d);
}

// The keys that type `text` (letters, digits and a few signs of a path).
inline std::vector<KeySym> keysOf(const std::string& text) {
    std::vector<KeySym> keys;
    for (char c : text) {
        if (c == '.') keys.push_back(XK_period);
        else if (c == '-') keys.push_back(XK_minus);
        else if (c == '/') keys.push_back(XK_slash);
        else keys.push_back(XStringToKeysym(std::string(1, c).c_str()));
    }
    return keys;
}

}  // namespace wowfix::test
