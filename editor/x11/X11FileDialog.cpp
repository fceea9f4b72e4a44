#include "editor/x11/X11FileDialog.h"

#include "editor/win32/SoftObjects.h"
#include "editor/x11/X11Picture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace wowfix {

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 300;
constexpr int kRowHeight = 14;
constexpr int kListTop = 44;
constexpr int kRows = (kHeight - kListTop - 4) / kRowHeight;

struct DialogState {
    std::string title;
    std::string directory;
    std::string path;
    std::vector<std::string> entries;  // directories end in '/'
    int picked = -1;
    int first = 0;

    void list() {
        entries.clear();
        entries.push_back("../");
        std::error_code error;
        for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            entries.push_back(it->is_directory(error) ? name + "/" : name);
        }
        std::sort(entries.begin() + 1, entries.end());
        picked = -1;
        first = 0;
    }

    void enter(const std::string& dir) {
        std::error_code error;
        const std::filesystem::path p = std::filesystem::weakly_canonical(dir, error);
        directory = error ? dir : p.string();
        path = directory + (directory.empty() || directory.back() != '/' ? "/" : "");
        list();
    }

    // Return on the path: a directory is opened, anything else accepted.
    bool accept() {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            enter(path);
            return false;
        }
        return !path.empty();
    }

    void pick(int index) {
        if (index < 0 || index >= static_cast<int>(entries.size())) return;
        picked = index;
        if (picked < first) first = picked;
        if (picked >= first + kRows) first = picked - kRows + 1;
        const std::string& e = entries[static_cast<size_t>(picked)];
        path = (std::filesystem::path(directory) / (e.back() == '/' ? e.substr(0, e.size() - 1) : e)).string();
    }

    void draw(SoftRaster& r) const {
        r.resize(kWidth, kHeight, soft::kButtonFace);
        soft::drawText(r, 6, 2, title.c_str(), static_cast<int>(title.size()), RGB(0, 0, 0));
        for (int y = 20; y < 38; ++y)
            for (int x = 4; x < kWidth - 4; ++x) r.set(x, y, RGB(255, 255, 255));
        // The end of a long path stays visible.
        const int room = (kWidth - 12) / soft::kGlyphAdvance;
        const std::string shown = static_cast<int>(path.size()) > room ? path.substr(path.size() - static_cast<size_t>(room)) : path;
        soft::drawText(r, 6, 22, shown.c_str(), static_cast<int>(shown.size()), RGB(0, 0, 0));
        for (int y = kListTop; y < kHeight - 4; ++y)
            for (int x = 4; x < kWidth - 4; ++x) r.set(x, y, RGB(255, 255, 255));
        for (int row = 0; row < kRows && first + row < static_cast<int>(entries.size()); ++row) {
            const int index = first + row;
            const int y = kListTop + row * kRowHeight;
            const bool on = index == picked;
            if (on)
                for (int yy = y; yy < y + kRowHeight; ++yy)
                    for (int x = 4; x < kWidth - 4; ++x) r.set(x, yy, RGB(10, 36, 106));
            const std::string& e = entries[static_cast<size_t>(index)];
            soft::drawText(r, 8, y, e.c_str(), static_cast<int>(std::min<size_t>(e.size(), 66)),
                           on ? RGB(255, 255, 255) : RGB(0, 0, 0));
        }
    }
};

void show(Display* d, Window w, GC gc, const DialogState& state, std::vector<std::uint32_t>& pixels) {
    SoftRaster r;
    state.draw(r);
    toXPixels(r, pixels);
    putPixels(d, w, gc, pixels.data(), kWidth, kHeight);
    XFlush(d);
}

}  // namespace

bool runX11FileDialog(const char* title, bool save, std::string& path) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) return false;
    const int screen = DefaultScreen(d);
    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | StructureNotifyMask;
    const Window w = XCreateWindow(d, RootWindow(d, screen), 100, 100, kWidth, kHeight, 1, CopyFromParent,
                                   InputOutput, CopyFromParent, CWEventMask, &attributes);
    XStoreName(d, w, title);
    XMapRaised(d, w);
    GC gc = XCreateGC(d, w, 0, nullptr);
    DialogState state;
    state.title = std::string(title) + (save ? " (save)" : "");
    std::error_code error;
    state.enter(std::filesystem::current_path(error).string());
    std::vector<std::uint32_t> pixels;
    bool done = false;
    bool accepted = false;
    while (!done) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == KeyPress) {
            char text[8] = {};
            KeySym sym = 0;
            const int n = XLookupString(&event.xkey, text, sizeof text - 1, &sym, nullptr);
            if (sym == XK_Escape) {
                done = true;
            } else if (sym == XK_Return || sym == XK_KP_Enter) {
                accepted = state.accept();
                done = accepted;
            } else if (sym == XK_BackSpace) {
                if (!state.path.empty()) state.path.pop_back();
            } else if (sym == XK_Up) {
                state.pick(state.picked <= 0 ? 0 : state.picked - 1);
            } else if (sym == XK_Down) {
                state.pick(state.picked + 1);
            } else if (n == 1 && text[0] >= 32 && text[0] < 127 && state.path.size() < 4096) {
                state.path.push_back(text[0]);
            }
        } else if (event.type == ButtonPress && event.xbutton.button == Button1) {
            const int row = (event.xbutton.y - kListTop) / kRowHeight;
            if (event.xbutton.y >= kListTop && row < kRows) {
                const int index = state.first + row;
                if (index == state.picked) {
                    accepted = state.accept();
                    done = accepted;
                } else {
                    state.pick(index);
                }
            }
        } else if (event.type == ButtonPress && (event.xbutton.button == Button4 || event.xbutton.button == Button5)) {
            state.first = std::clamp(state.first + (event.xbutton.button == Button4 ? -3 : 3), 0,
                                     std::max(0, static_cast<int>(state.entries.size()) - kRows));
        } else if (event.type == DestroyNotify) {
            break;
        }
        if (!done) show(d, w, gc, state, pixels);
    }
    if (accepted) path = state.path;
    XFreeGC(d, gc);
    XDestroyWindow(d, w);
    XCloseDisplay(d);
    return accepted;
}

}  // namespace wowfix
