#include "editor/x11/X11MessageBox.h"

#include "editor/x11/MessageBoxLayout.h"
#include "editor/x11/X11Picture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace wowfix {

int runX11MessageBox(const char* caption, const char* text, UINT type) {
    const MessageBoxLayout layout = layoutMessageBox(text != nullptr ? text : "", type);
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) return layout.buttons.front().answer;
    const int screen = DefaultScreen(d);
    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    const int x = (DisplayWidth(d, screen) - layout.width) / 2;
    const int y = (DisplayHeight(d, screen) - layout.height) / 2;
    const Window w = XCreateWindow(d, RootWindow(d, screen), x, y, static_cast<unsigned>(layout.width),
                                   static_cast<unsigned>(layout.height), 1, CopyFromParent, InputOutput,
                                   CopyFromParent, CWEventMask, &attributes);
    XStoreName(d, w, caption != nullptr ? caption : "");
    // A box of fixed size, which the window manager is asked to close
    // through the box rather than destroy.
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        hints->flags = PMinSize | PMaxSize;
        hints->min_width = hints->max_width = layout.width;
        hints->min_height = hints->max_height = layout.height;
        XSetWMNormalHints(d, w, hints);
        XFree(hints);
    }
    Atom closeRequest = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, w, &closeRequest, 1);
    XMapRaised(d, w);
    GC gc = XCreateGC(d, w, 0, nullptr);

    SoftRaster raster;
    drawMessageBox(layout, raster);
    std::vector<std::uint32_t> pixels;
    toXPixels(raster, pixels);

    int answer = 0;
    const MessageBoxButton* pressed = nullptr;
    while (answer == 0) {
        XEvent event;
        XNextEvent(d, &event);
        switch (event.type) {
            case Expose: putPixels(d, w, gc, pixels.data(), layout.width, layout.height); break;
            case KeyPress: {
                const KeySym sym = XLookupKeysym(&event.xkey, 0);
                if (sym == XK_Return || sym == XK_KP_Enter || sym == XK_space) answer = layout.buttons.front().answer;
                if (sym == XK_Escape) answer = layout.escapeAnswer();
                break;
            }
            case ButtonPress:
                if (event.xbutton.button == Button1) pressed = layout.buttonAt(event.xbutton.x, event.xbutton.y);
                break;
            case ButtonRelease:
                // A button answers when the press and the release are on it.
                if (event.xbutton.button == Button1 && pressed != nullptr &&
                    pressed == layout.buttonAt(event.xbutton.x, event.xbutton.y))
                    answer = pressed->answer;
                pressed = nullptr;
                break;
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == closeRequest) answer = layout.escapeAnswer();
                break;
            case DestroyNotify: answer = layout.escapeAnswer(); break;
            default: break;
        }
    }
    XFreeGC(d, gc);
    XDestroyWindow(d, w);
    XCloseDisplay(d);
    return answer;
}

}  // namespace wowfix
