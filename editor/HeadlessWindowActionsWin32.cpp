#include "editor/HeadlessWindowActions.h"

#include "editor/EditorWindow.h"
#include "editor/win32/ScriptedAnswers.h"
#include "editor/win32/Win32Input.h"

#include <cstdint>

namespace wowfix {

// The real Win32 window: actions arrive as the messages of a user's input,
// and its picture is read back from the screen through the window's device
// context, so it is exactly what the user sees.

bool applyEditorAction(EditorWindow& editor, const vendor::EditorAction& action) {
    if (!editor.isOpen()) return false;
    // What the action opens answers itself: no message box waits for a user.
    const ScriptedActionScope scripted;
    bool done = false;
    switch (action.kind) {
        case vendor::kClickControl:
            done = win32_input::clickControl(editor.mainWindow(), action.id, action.item);
            break;
        case vendor::kDragPanel:
            done = win32_input::drag(editor.panelWindow(), action.x1, action.y1, action.x2, action.y2);
            break;
        case vendor::kRightClickPanel:
            done = win32_input::rightClick(editor.panelWindow(), action.x1, action.y1);
            break;
        case vendor::kWheel:
            done = win32_input::wheel(editor.panelWindow(), action.item * WHEEL_DELTA, action.x1, action.y1);
            break;
        case vendor::kKey:
            done = win32_input::key(editor.mainWindow(), action.item);
            break;
        case vendor::kAnswerDialog:
            queueFileDialogAnswer(action.path != nullptr ? action.path : "");
            done = true;
            break;
        default:
            return false;
    }
    // The window may have closed on the action.
    if (editor.isOpen()) RedrawWindow(editor.mainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return done;
}

namespace {

// The client area of `window` as 0x00RRGGBB pixels, rows top to bottom.
bool readWindowPixels(HWND window, vendor::WindowPicture& picture) {
    RECT client{};
    if (GetClientRect(window, &client) == FALSE) return false;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return false;
    picture.width = width;
    picture.height = height;
    const long long needed = static_cast<long long>(width) * height;
    if (picture.pixels == nullptr || picture.capacity < needed) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(window);
    if (windowDc == nullptr) return false;
    HDC memory = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory != nullptr && dib != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, dib);
        copied = BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, previous);
    }
    ReleaseDC(window, windowDc);
    if (memory != nullptr) DeleteDC(memory);
    if (copied) {
        // A 32-bit DIB holds blue, green, red and an unused byte: 0x00RRGGBB
        // once the unused byte is cleared.
        const auto* source = static_cast<const std::uint32_t*>(bits);
        for (long long i = 0; i < needed; ++i) picture.pixels[i] = source[i] & 0x00ffffffu;
    }
    if (dib != nullptr) DeleteObject(dib);
    return copied;
}

}  // namespace

bool copyEditorPicture(EditorWindow& editor, vendor::WindowPicture& picture) {
    if (!editor.isOpen()) return false;
    HWND window = picture.panelOnly != 0 ? editor.panelWindow() : editor.mainWindow();
    if (window == nullptr) return false;
    // What is still to be painted is painted first, as the software layer
    // delivers its pending paint before a picture.
    RedrawWindow(editor.mainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return readWindowPixels(window, picture);
}

}  // namespace wowfix
