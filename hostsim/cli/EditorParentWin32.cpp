#include "hostsim/cli/EditorParent.h"

#include <windows.h>

namespace wowfix::hostsim {

namespace {

constexpr const char* kParentClass = "WowfixHostEditorParent";
constexpr DWORD kParentStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

EditorParent::~EditorParent() {
    if (window_ == nullptr) return;
    DestroyWindow(static_cast<HWND>(window_));
    UnregisterClassA(kParentClass, GetModuleHandleA(nullptr));
}

bool EditorParent::create(int width, int height, std::string& error) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    WNDCLASSA parentClass{};
    parentClass.lpfnWndProc = parentProcedure;
    parentClass.hInstance = self;
    parentClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    parentClass.lpszClassName = kParentClass;
    if (RegisterClassA(&parentClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        error = "no window class for the editor's window";
        return false;
    }
    // The client area is the editor's size; the frame goes round it. At the
    // screen's corner, so that nothing covers the picture read from it.
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, kParentStyle, FALSE);
    HWND window = CreateWindowExA(0, kParentClass, "wowfix", kParentStyle, 0, 0, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, self, nullptr);
    if (window == nullptr) {
        error = "no window for the editor (is there a screen?)";
        return false;
    }
    window_ = window;
    return true;
}

void EditorParent::pump(OfflineHost& host) {
    if (window_ == nullptr) return;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    host.dispatch(effEditIdle);
    UpdateWindow(static_cast<HWND>(window_));
}

}  // namespace wowfix::hostsim
