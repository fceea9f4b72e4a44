// USER of the software layer: window classes, windows and controls, window
// longs, messages, visibility, places, scroll bars and painting. Messages are
// delivered at once, on the caller's thread.

#include "editor/win32/SoftObjects.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <set>

namespace {

struct ClassRecord {
    WNDCLASSA windowClass;
    std::string name;
};

std::string lowerCase(const char* text) {
    std::string s = text != nullptr ? text : "";
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::map<std::string, ClassRecord>& classes() {
    static std::map<std::string, ClassRecord> table;
    return table;
}

std::set<HWND>& liveWindows() {
    static std::set<HWND> windows;
    return windows;
}

SoftRaster& surfaceOf(HWND window) {
    if (window->surface.width != window->width || window->surface.height != window->height)
        window->surface.resize(window->width, window->height, wowfix::soft::kButtonFace);
    return window->surface;
}

}  // namespace

namespace wowfix::soft {

bool isLiveWindow(HWND window) { return window != nullptr && liveWindows().count(window) != 0; }

SoftControlKind controlKindOfClass(const std::string& className) {
    const std::string name = lowerCase(className.c_str());
    if (name == "button") return SoftControlKind::Button;
    if (name == "static") return SoftControlKind::Static;
    if (name == "edit") return SoftControlKind::Edit;
    if (name == "combobox") return SoftControlKind::ComboBox;
    if (name == "scrollbar") return SoftControlKind::ScrollBar;
    if (name == lowerCase(PROGRESS_CLASSA)) return SoftControlKind::ProgressBar;
    return SoftControlKind::Window;
}

int classRegistrations(const char* className) { return classes().count(lowerCase(className)) != 0 ? 1 : 0; }

}  // namespace wowfix::soft

using wowfix::soft::isLiveWindow;

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) { return init != nullptr ? TRUE : FALSE; }

WORD RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr)
        return 0;
    const std::string key = lowerCase(windowClass->lpszClassName);
    if (classes().count(key) != 0) return 0;
    classes()[key] = ClassRecord{*windowClass, windowClass->lpszClassName};
    return static_cast<WORD>(classes().size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    return classes().erase(lowerCase(className)) != 0 ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void*) {
    if (className == nullptr) return nullptr;
    if (parent != nullptr && !isLiveWindow(parent)) return nullptr;
    auto window = std::make_unique<SoftWindow>();
    window->className = className;
    window->kind = wowfix::soft::controlKindOfClass(className);
    if (window->kind == SoftControlKind::Window) {
        auto found = classes().find(lowerCase(className));
        if (found == classes().end()) return nullptr;
        window->procedure = found->second.windowClass.lpfnWndProc;
        window->background = found->second.windowClass.hbrBackground;
    } else {
        window->procedure = wowfix::soft::builtinControlProcedure;
    }
    window->text = windowName != nullptr ? windowName : "";
    window->exStyle = exStyle;
    window->style = style;
    // A child's menu argument is its identifier.
    window->id = static_cast<int>(reinterpret_cast<std::intptr_t>(menu));
    window->parent = parent;
    window->x = x;
    window->y = y;
    window->width = width > 0 ? width : 0;
    window->height = height > 0 ? height : 0;
    window->instance = instance;
    // A new window has not been painted yet.
    window->invalid = true;
    HWND handle = window.release();
    liveWindows().insert(handle);
    if (parent != nullptr) parent->children.push_back(handle);
    if (SendMessageA(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL DestroyWindow(HWND window) {
    if (!isLiveWindow(window)) return FALSE;
    // Children first, as the system destroys them.
    while (!window->children.empty()) DestroyWindow(window->children.back());
    SendMessageA(window, WM_DESTROY, 0, 0);
    if (window->parent != nullptr && isLiveWindow(window->parent)) {
        auto& siblings = window->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    liveWindows().erase(window);
    delete window;
    return TRUE;
}

BOOL IsWindow(HWND window) { return isLiveWindow(window) ? TRUE : FALSE; }

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    if (!isLiveWindow(window)) return 0;
    LONG_PTR previous = 0;
    switch (index) {
        case GWLP_USERDATA:
            previous = window->userData;
            window->userData = value;
            break;
        case GWLP_WNDPROC:
            previous = reinterpret_cast<LONG_PTR>(window->procedure);
            if (value != 0) window->procedure = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_ID:
            previous = window->id;
            window->id = static_cast<int>(value);
            break;
        default:
            break;
    }
    return previous;
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    if (!isLiveWindow(window)) return 0;
    switch (index) {
        case GWLP_USERDATA: return window->userData;
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->procedure);
        case GWLP_ID: return window->id;
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
        default: return 0;
    }
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (procedure == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return procedure(window, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isLiveWindow(window)) return 0;
    switch (message) {
        case WM_SETTEXT:
            window->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            return TRUE;
        case WM_GETTEXT: {
            char* buffer = reinterpret_cast<char*>(lParam);
            const size_t capacity = static_cast<size_t>(wParam);
            if (buffer == nullptr || capacity == 0) return 0;
            const size_t n = std::min(window->text.size(), capacity - 1);
            std::memcpy(buffer, window->text.data(), n);
            buffer[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
        case WM_SETFONT: window->font = reinterpret_cast<HFONT>(wParam); return 0;
        case WM_PAINT: {
            // Validates the window so that paint does not repeat.
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        default: return 0;
    }
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isLiveWindow(window) || window->procedure == nullptr) return 0;
    return window->procedure(window, message, wParam, lParam);
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int GetWindowTextA(HWND window, LPSTR text, int capacity) {
    if (capacity <= 0) return 0;
    return static_cast<int>(
        SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(text)));
}

BOOL ShowWindow(HWND window, int command) {
    if (!isLiveWindow(window)) return FALSE;
    const BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE)
        window->style &= ~WS_VISIBLE;
    else
        window->style |= WS_VISIBLE;
    return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
    for (HWND w = window; w != nullptr; w = w->parent) {
        if (!isLiveWindow(w) || (w->style & WS_VISIBLE) == 0) return FALSE;
    }
    return TRUE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    if (!isLiveWindow(window)) return FALSE;
    const BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
    if (enable)
        window->style &= ~WS_DISABLED;
    else
        window->style |= WS_DISABLED;
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    return isLiveWindow(window) && (window->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    if (!isLiveWindow(window)) return FALSE;
    window->x = x;
    window->y = y;
    window->width = width > 0 ? width : 0;
    window->height = height > 0 ? height : 0;
    window->invalid = true;
    return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (!isLiveWindow(window) || rect == nullptr) return FALSE;
    int x = 0;
    int y = 0;
    for (HWND w = window; w != nullptr; w = w->parent) {
        x += w->x;
        y += w->y;
    }
    *rect = {x, y, x + window->width, y + window->height};
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!isLiveWindow(window) || rect == nullptr) return FALSE;
    *rect = {0, 0, window->width, window->height};
    return TRUE;
}

HWND GetDlgItem(HWND parent, int id) {
    if (!isLiveWindow(parent)) return nullptr;
    for (HWND child : parent->children)
        if (child->id == id) return child;
    return nullptr;
}

HWND GetParent(HWND window) { return isLiveWindow(window) ? window->parent : nullptr; }

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    if (!isLiveWindow(window)) return FALSE;
    window->invalid = true;
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    if (!isLiveWindow(window)) return FALSE;
    if (window->invalid) SendMessageA(window, WM_PAINT, 0, 0);
    return TRUE;
}

int GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
    if (!isLiveWindow(window) || info == nullptr || bar != SB_CTL) return FALSE;
    const UINT mask = info->fMask;
    if (mask & SIF_RANGE) {
        info->nMin = window->scroll.nMin;
        info->nMax = window->scroll.nMax;
    }
    if (mask & SIF_PAGE) info->nPage = window->scroll.nPage;
    if (mask & SIF_POS) info->nPos = window->scroll.nPos;
    if (mask & SIF_TRACKPOS) info->nTrackPos = window->scroll.nTrackPos;
    return TRUE;
}

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL) {
    if (!isLiveWindow(window) || info == nullptr || bar != SB_CTL) return 0;
    SCROLLINFO& s = window->scroll;
    if (info->fMask & SIF_RANGE) {
        s.nMin = info->nMin;
        s.nMax = info->nMax < info->nMin ? info->nMin : info->nMax;
    }
    if (info->fMask & SIF_PAGE) s.nPage = info->nPage;
    if (info->fMask & SIF_POS) s.nPos = info->nPos;
    // The position stays within min ... max - page + 1, as the system keeps it.
    const long long span = static_cast<long long>(s.nMax) - static_cast<long long>(s.nPage) + 1;
    const int top = s.nPage > 0 ? static_cast<int>(std::max<long long>(s.nMin, span)) : s.nMax;
    s.nPos = std::clamp(s.nPos, s.nMin, top);
    s.nTrackPos = s.nPos;
    return s.nPos;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (!isLiveWindow(window) || paint == nullptr) return nullptr;
    HDC dc = GetDC(window);
    paint->hdc = dc;
    paint->fErase = FALSE;
    paint->rcPaint = {0, 0, window->width, window->height};
    window->invalid = false;
    window->painting = true;
    return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (!isLiveWindow(window) || paint == nullptr) return FALSE;
    window->painting = false;
    ReleaseDC(window, paint->hdc);
    return TRUE;
}

HDC GetDC(HWND window) {
    if (!isLiveWindow(window)) return nullptr;
    SoftDc* dc = new SoftDc;
    dc->window = window;
    dc->target = &surfaceOf(window);
    dc->pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    dc->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    dc->font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    return dc;
}

int ReleaseDC(HWND, HDC dc) {
    if (dc == nullptr || dc->window == nullptr) return 0;
    delete dc;
    return 1;
}

DWORD GetSysColor(int index) { return index == COLOR_BTNFACE ? wowfix::soft::kButtonFace : RGB(255, 255, 255); }

HBRUSH GetSysColorBrush(int index) {
    static SoftGdiObject face = [] {
        SoftGdiObject b;
        b.kind = SoftObjectKind::Brush;
        b.stock = true;
        b.colour = wowfix::soft::kButtonFace;
        return b;
    }();
    return index == COLOR_BTNFACE ? &face : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}
