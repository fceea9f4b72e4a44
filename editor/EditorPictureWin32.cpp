#include "editor/HeadlessWindowActions.h"

#include "editor/EditorWindow.h"

#include <cstdint>

namespace wowfix {

// The real Win32 window: its picture is read back from the screen through
// the window's device context, so it is exactly what the user sees.

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
