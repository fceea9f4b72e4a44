#include "editor/x11/X11Presenter.h"

#include "editor/win32/SoftInput.h"
#include "editor/win32/SoftObjects.h"
#include "editor/x11/X11FileDialog.h"
#include "editor/x11/X11MessageBox.h"
#include "editor/x11/X11Picture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace wowfix {

namespace {

// X errors (a parent id that is no window) are noted, not fatal.
int lastError = 0;
int noteError(Display*, XErrorEvent* event) {
    lastError = event->error_code;
    return 0;
}

}  // namespace

struct X11Presenter::Impl {
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    HWND soft = nullptr;
    HWND captured = nullptr;
    Atom closeRequest = 0;
    bool closeRequested = false;
    std::vector<std::uint32_t> pixels;

    void present() {
        soft::Picture picture;
        if (!soft::takePicture(soft, picture)) return;
        pixels = picture.pixels;
        putPixels(display, window, gc, pixels.data(), picture.width, picture.height);
    }

    void button(const XButtonEvent& e, bool press) {
        if (e.button == Button4 || e.button == Button5) {
            if (press) soft::wheel(soft, e.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA, e.x, e.y);
            return;
        }
        const bool left = e.button == Button1;
        int x = 0;
        int y = 0;
        HWND target = press ? soft::controlAt(soft, e.x, e.y, x, y) : captured;
        if (target == nullptr || !IsWindow(target)) return;
        // A press beside a dropped list only closes it.
        if (press && !target->dropped && soft::closeDroppedLists(soft)) return;
        if (!press) {
            x = e.x - target->x;
            y = e.y - target->y;
        }
        if (press && (target->style & WS_DISABLED) != 0) return;
        if (press && target->kind == SoftControlKind::ComboBox && left) {
            soft::pressDropDown(target, x, y);
            return;
        }
        const LPARAM at = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
        if (press) {
            captured = target;
            SendMessageA(target, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at);
        } else {
            captured = nullptr;
            SendMessageA(target, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
        }
    }

    void motion(const XMotionEvent& e) {
        HWND target = captured;
        int x = e.x;
        int y = e.y;
        if (target == nullptr || !IsWindow(target))
            target = soft::controlAt(soft, e.x, e.y, x, y);
        else {
            x -= target->x;
            y -= target->y;
        }
        SendMessageA(target, WM_MOUSEMOVE, (e.state & Button1Mask) != 0 ? MK_LBUTTON : 0,
                     MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
};

X11Presenter::X11Presenter() = default;
X11Presenter::~X11Presenter() { close(); }

bool X11Presenter::isOpen() const { return impl_ != nullptr; }
bool X11Presenter::takeCloseRequest() {
    if (impl_ == nullptr || !impl_->closeRequested) return false;
    impl_->closeRequested = false;
    return true;
}

unsigned long X11Presenter::windowId() const { return impl_ != nullptr ? impl_->window : 0; }

bool X11Presenter::open(unsigned long parent, HWND window) {
    close();
    if (!IsWindow(window)) return false;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    XErrorHandler previous = XSetErrorHandler(noteError);
    lastError = 0;
    const int screen = DefaultScreen(display);
    const Window host = parent != 0 ? static_cast<Window>(parent) : RootWindow(display, screen);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | StructureNotifyMask;
    const Window w = XCreateWindow(display, host, 0, 0, static_cast<unsigned>(window->width),
                                   static_cast<unsigned>(window->height), 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XSync(display, False);
    if (lastError != 0 || w == 0) {
        XSetErrorHandler(previous);
        XCloseDisplay(display);
        return false;
    }
    const bool topLevel = host == RootWindow(display, screen);
    if (topLevel) {
        // A window of its own: its fixed size, its caption as the name, a close
        // request from the window manager that only hides it (the host
        // closes the editor).
        XStoreName(display, w, window->text.empty() ? "wowfix" : window->text.c_str());
        XSizeHints* hints = XAllocSizeHints();
        if (hints != nullptr) {
            hints->flags = PMinSize | PMaxSize;
            hints->min_width = hints->max_width = window->width;
            hints->min_height = hints->max_height = window->height;
            XSetWMNormalHints(display, w, hints);
            XFree(hints);
        }
    }
    Atom closeRequest = XInternAtom(display, "WM_DELETE_WINDOW", False);
    if (topLevel) XSetWMProtocols(display, w, &closeRequest, 1);
    XMapWindow(display, w);
    XSync(display, False);
    // Dialogs and message boxes of a window on the screen are answered by
    // the user.
    soft::setInteractiveFileDialog(runX11FileDialog);
    soft::setInteractiveMessageBox(runX11MessageBox);
    impl_ = std::make_unique<Impl>();
    impl_->display = display;
    impl_->window = w;
    impl_->gc = XCreateGC(display, w, 0, nullptr);
    impl_->soft = window;
    impl_->closeRequest = closeRequest;
    impl_->present();
    XFlush(display);
    return true;
}

void X11Presenter::close() {
    if (impl_ == nullptr) return;
    soft::setInteractiveFileDialog(nullptr);
    soft::setInteractiveMessageBox(nullptr);
    XFreeGC(impl_->display, impl_->gc);
    XDestroyWindow(impl_->display, impl_->window);
    XCloseDisplay(impl_->display);
    impl_.reset();
}

void X11Presenter::pump() {
    if (impl_ == nullptr) return;
    Display* d = impl_->display;
    while (XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        if (!IsWindow(impl_->soft)) continue;
        switch (event.type) {
            case ButtonPress: impl_->button(event.xbutton, true); break;
            case ButtonRelease: impl_->button(event.xbutton, false); break;
            case MotionNotify: impl_->motion(event.xmotion); break;
            case KeyPress:
            case KeyRelease: {
                const KeySym sym = XLookupKeysym(&event.xkey, 0);
                SendMessageA(impl_->soft, event.type == KeyPress ? WM_KEYDOWN : WM_KEYUP,
                             static_cast<WPARAM>(sym & 0xFFFF), 0);
                break;
            }
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == impl_->closeRequest) {
                    XUnmapWindow(d, impl_->window);
                    impl_->closeRequested = true;
                }
                break;
            default: break;
        }
    }
    if (IsWindow(impl_->soft)) impl_->present();
    XFlush(d);
}

}  // namespace wowfix
