#pragma once
// The objects behind the software layer's handles: windows with their
// control state, device contexts and GDI objects over software bitmaps.

#include "editor/win32/SoftWin32.h"

#include <string>
#include <vector>

// A bitmap of COLORREF pixels, rows top to bottom.
struct SoftRaster {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    void resize(int w, int h, COLORREF fill);
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    void set(int x, int y, COLORREF c) {
        if (contains(x, y)) pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = c;
    }
};

enum class SoftControlKind { Window, Button, Static, Edit, ComboBox, ScrollBar, ProgressBar };

struct SoftWindow {
    std::string className;
    std::string text;
    SoftControlKind kind = SoftControlKind::Window;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HWND parent = nullptr;
    std::vector<HWND> children;
    int x = 0, y = 0, width = 0, height = 0;
    LONG_PTR userData = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HFONT font = nullptr;
    HBRUSH background = nullptr;
    // Control state.
    int check = BST_UNCHECKED;
    bool pushed = false;
    std::vector<std::string> items;
    int selection = CB_ERR;
    bool dropped = false;  // a drop-down list showing its entries
    SCROLLINFO scroll{sizeof(SCROLLINFO), 0, 0, 100, 0, 0, 0};
    int rangeMin = 0, rangeMax = 100, position = 0;
    // What the window shows of its own drawing (owner-drawn panels).
    SoftRaster surface;
    bool invalid = false;
    bool painting = false;
};

enum class SoftObjectKind { Bitmap, Pen, Brush, Font };

struct SoftGdiObject {
    SoftObjectKind kind = SoftObjectKind::Bitmap;
    bool stock = false;
    SoftRaster raster;
    int penStyle = PS_SOLID;
    int penWidth = 1;
    bool null = false;
    COLORREF colour = 0;
    int selections = 0;
};

struct SoftDc {
    HWND window = nullptr;   // window device context, else memory
    SoftRaster* target = nullptr;
    HBITMAP bitmap = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    POINT position{0, 0};
    int dashPhase = 0;
};

namespace wowfix::soft {

// The button-face colour of the software look.
constexpr COLORREF kButtonFace = RGB(212, 208, 200);

bool isLiveWindow(HWND window);
SoftControlKind controlKindOfClass(const std::string& className);
LRESULT builtinControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Draws a control's look into `target` at the control's place plus (dx, dy).
void drawControlLook(const SoftWindow& control, SoftRaster& target, int dx, int dy);
// A drop-down list's entries below its line, over the controls beneath.
void drawDroppedList(const SoftWindow& combo, SoftRaster& target, int dx, int dy);
// The height of a drop-down list's own line; the rest of its box is the
// room its entries drop into.
constexpr int kComboLineHeight = 21;
// Where a drop-down list's entries lie in its parent: below its line, or
// above it where the parent has no room below.
RECT droppedListBox(const SoftWindow& combo);
// Text in the built-in font: cell size and drawing.
constexpr int kGlyphAdvance = 6;
constexpr int kTextHeight = 13;
void drawText(SoftRaster& target, int x, int y, const char* text, int length, COLORREF colour,
              const RECT* clip = nullptr);
int textWidth(int length);
// The lines of a text broken at "\n" (a "\r" before it is dropped), as a
// multi-line static control shows them.
std::vector<std::string> textLines(const std::string& text);
// The same lines broken again at spaces so that each fits `width` pixels,
// as a static control with word wrapping shows them.
std::vector<std::string> wrappedLines(const std::string& text, int width);

}  // namespace wowfix::soft
