#include "editor/win32/WindowPixels.h"

namespace wowfix::window_pixels {

bool clientSize(HWND window, int& width, int& height) {
    RECT client{};
    if (GetClientRect(window, &client) == FALSE) return false;
    width = client.right - client.left;
    height = client.bottom - client.top;
    return width > 0 && height > 0;
}

bool read(HWND window, int width, int height, std::uint32_t* pixels) {
    if (width <= 0 || height <= 0 || pixels == nullptr) return false;
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
        const long long count = static_cast<long long>(width) * height;
        for (long long i = 0; i < count; ++i) pixels[i] = source[i] & 0x00ffffffu;
    }
    if (dib != nullptr) DeleteObject(dib);
    return copied;
}

}  // namespace wowfix::window_pixels
