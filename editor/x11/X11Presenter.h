#pragma once

#include "editor/win32/SoftWin32.h"

#include <memory>

namespace wowfix {

// Shows a window of the software layer in a real X11 window: a child of the
// host's window (the X11 window id the host hands to the editor's open), or
// a top-level window of its own when the host has no window and hands over
// the screen's root window (or 0) instead. X events become the layer's
// mouse, wheel and key messages to the control under the pointer; the
// window's picture is put on the screen on every pump. While it is open, the
// layer's message boxes and file dialogs are shown for the user to answer.
// Only pump, open, close and those boxes speak to the X server, so a task
// drawing into the layer on another thread never calls Xlib.
class X11Presenter {
public:
    X11Presenter();
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // False, with nothing open, without a display or when `parent` is not a
    // window of it.
    bool open(unsigned long parent, HWND window);
    void close();
    bool isOpen() const;
    // Handles the pending X events and shows the window's current picture.
    void pump();
    unsigned long windowId() const;
    // Whether the window manager asked to close the top-level window (it is
    // hidden then) since the last call.
    bool takeCloseRequest();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace wowfix
