#pragma once
// What the software layer offers beyond Win32: synthetic input for tests and
// headless sessions, answers to the next dialogs, the bitmap resources of the
// module, and pictures of a window.

#include "editor/win32/PointerInput.h"
#include "editor/win32/SoftWin32.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wowfix::soft {

// A picture of a window: 0x00RRGGBB pixels, rows top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Where a press at (x, y) of `window` lands: a dropped list first, then the
// topmost visible child whose box holds the point (a closed drop-down list
// is only its line), else the window itself; (localX, localY) are relative
// to what it answers.
HWND controlAt(HWND window, int x, int y, int& localX, int& localY);
// A press of the screen's user on a drop-down list: a closed list drops, a
// press on an entry of the dropped list chooses it (the parent is told with
// CBN_SELCHANGE) and closes it, a press on its line only closes it.
void pressDropDown(HWND combo, int localX, int localY);
// Closes the dropped lists among the children of `window`; true when one
// was open.
bool closeDroppedLists(HWND window);
// Presses and releases the left button on child control `id` of `window`, as
// a user's click. A drop-down list gets `item` chosen instead (the parent is
// told with CBN_SELCHANGE). False when there is no such control, it is
// hidden or disabled, or the item does not exist.
bool clickControl(HWND window, int id, int item = -1);
// The pointer's drag and right click, shared with the other window layer.
using pointer_input::drag;
using pointer_input::rightClick;
// Turns the wheel over `target` by `delta` (a multiple of WHEEL_DELTA).
bool wheel(HWND target, int delta, int x, int y);
// Presses and releases virtual key `key`.
bool key(HWND target, int virtualKey);
// The next file dialog answers `path` (empty: the user cancels).
void answerNextDialog(const std::string& path);
// A file dialog the user answers on a screen: given the title and whether
// the file is to be saved, it fills `path` and answers true, or false when
// the user cancels. Asked only when no answer is arranged; without one the
// dialog is cancelled.
using InteractiveFileDialog = bool (*)(const char* title, bool save, std::string& path);
void setInteractiveFileDialog(InteractiveFileDialog dialog);
// A message box the user answers on a screen: given the caption, the text
// and the box's type (MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL), it
// answers the button pressed (IDOK, IDCANCEL, IDYES, IDNO). Without one, a
// box answers its first button.
using InteractiveMessageBox = int (*)(const char* caption, const char* text, UINT type);
void setInteractiveMessageBox(InteractiveMessageBox box);
// Texts and captions of the message boxes shown since the last call.
std::vector<std::string> takeMessageBoxes();
// Registers bitmap resource `id` of the layer's module: 24-bit pixels, blue
// green red per pixel, rows top to bottom.
void registerBitmapResource(int id, int width, int height, const std::uint8_t* bgr);
// Whether `className` is registered, for checks on the registration count.
int classRegistrations(const char* className);
// Delivers the paint messages of every invalid window below `window`.
void deliverPaint(HWND window);
// The window as the screen shows it: its background, its visible controls
// in creation order and the pictures of its owner-drawn children.
bool takePicture(HWND window, Picture& picture);
// The picture a window keeps of its own drawing (an owner-drawn panel).
bool takeSurface(HWND window, Picture& picture);

}  // namespace wowfix::soft
