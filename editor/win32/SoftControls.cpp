// The built-in control classes of the software layer: push buttons, check
// boxes and radio buttons ("BUTTON"), static texts and owner-drawn statics
// ("STATIC"), edit fields, drop-down lists, scroll bars and progress bars, with
// their messages and the notifications they send to their parent.

#include "editor/win32/SoftObjects.h"

#include <algorithm>
#include <cstring>

namespace wowfix::soft {

namespace {

DWORD buttonType(const SoftWindow& w) { return w.style & BS_TYPEMASK; }

void notifyParent(HWND window, int code) {
    if (window->parent == nullptr) return;
    SendMessageA(window->parent, WM_COMMAND, MAKEWPARAM(window->id, code), reinterpret_cast<LPARAM>(window));
}

// Checks `window` and clears the other radio buttons of its group: the
// siblings from the nearest one with WS_GROUP up to the next WS_GROUP.
void checkRadio(HWND window) {
    HWND parent = window->parent;
    if (parent == nullptr) {
        window->check = BST_CHECKED;
        return;
    }
    auto& siblings = parent->children;
    auto self = std::find(siblings.begin(), siblings.end(), window);
    auto first = self;
    while (first != siblings.begin() && ((*first)->style & WS_GROUP) == 0) --first;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && ((*it)->style & WS_GROUP) != 0) break;
        if ((*it)->kind == SoftControlKind::Button && buttonType(**it) == BS_AUTORADIOBUTTON)
            (*it)->check = *it == window ? BST_CHECKED : BST_UNCHECKED;
    }
}

LRESULT buttonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case BM_GETCHECK: return window->check;
        case BM_SETCHECK: window->check = static_cast<int>(wParam); return 0;
        case BM_GETSTATE: return window->check | (window->pushed ? BST_PUSHED : 0);
        case BM_SETSTATE: window->pushed = wParam != 0; return 0;
        case WM_LBUTTONDOWN: window->pushed = true; return 0;
        case WM_LBUTTONUP:
            if (!window->pushed) return 0;
            window->pushed = false;
            if (buttonType(*window) == BS_AUTOCHECKBOX)
                window->check = window->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            else if (buttonType(*window) == BS_AUTORADIOBUTTON)
                checkRadio(window);
            notifyParent(window, BN_CLICKED);
            return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT comboProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int count = static_cast<int>(window->items.size());
    switch (message) {
        case CB_ADDSTRING:
            window->items.emplace_back(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
            return count;
        case CB_GETCOUNT: return count;
        case CB_GETCURSEL: return window->selection;
        case CB_SETCURSEL: {
            const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
            if (index < 0 || index >= count) {
                window->selection = CB_ERR;
                return CB_ERR;
            }
            window->selection = index;
            window->text = window->items[static_cast<size_t>(index)];
            return index;
        }
        case CB_GETLBTEXTLEN: {
            const int index = static_cast<int>(wParam);
            return index >= 0 && index < count ? static_cast<LRESULT>(window->items[static_cast<size_t>(index)].size())
                                               : CB_ERR;
        }
        case CB_GETLBTEXT: {
            const int index = static_cast<int>(wParam);
            char* buffer = reinterpret_cast<char*>(lParam);
            if (index < 0 || index >= count || buffer == nullptr) return CB_ERR;
            const std::string& item = window->items[static_cast<size_t>(index)];
            std::memcpy(buffer, item.c_str(), item.size() + 1);
            return static_cast<LRESULT>(item.size());
        }
        case CB_RESETCONTENT:
            window->items.clear();
            window->selection = CB_ERR;
            return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT progressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case PBM_SETRANGE: {
            const int previous = MAKELONG(window->rangeMin, window->rangeMax);
            window->rangeMin = LOWORD(lParam);
            window->rangeMax = HIWORD(lParam);
            window->position = std::clamp(window->position, window->rangeMin, std::max(window->rangeMin, window->rangeMax));
            return previous;
        }
        case PBM_SETPOS: {
            const int previous = window->position;
            window->position =
                std::clamp(static_cast<int>(wParam), window->rangeMin, std::max(window->rangeMin, window->rangeMax));
            return previous;
        }
        case PBM_GETPOS: return window->position;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT staticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP && (window->style & SS_NOTIFY) != 0) {
        notifyParent(window, STN_CLICKED);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        if (wParam == 8) {
            if (!window->text.empty()) window->text.pop_back();
        } else if (wParam >= 32 && wParam < 127) {
            window->text.push_back(static_cast<char>(wParam));
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT builtinControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isLiveWindow(window)) return 0;
    switch (window->kind) {
        case SoftControlKind::Button: return buttonProcedure(window, message, wParam, lParam);
        case SoftControlKind::ComboBox: return comboProcedure(window, message, wParam, lParam);
        case SoftControlKind::ProgressBar: return progressProcedure(window, message, wParam, lParam);
        case SoftControlKind::Static: return staticProcedure(window, message, wParam, lParam);
        case SoftControlKind::Edit: return editProcedure(window, message, wParam, lParam);
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace wowfix::soft
