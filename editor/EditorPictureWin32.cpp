#include "editor/HeadlessWindowActions.h"

#include "editor/EditorWindow.h"
#include "editor/win32/WindowPixels.h"

namespace wowfix {

// The real Win32 window: its picture is read back from the screen through
// the window's device context, so it is exactly what the user sees.

bool copyEditorPicture(EditorWindow& editor, vendor::WindowPicture& picture) {
    if (!editor.isOpen()) return false;
    HWND window = picture.panelOnly != 0 ? editor.panelWindow() : editor.mainWindow();
    if (window == nullptr) return false;
    // What is still to be painted is painted first, as the software layer
    // delivers its pending paint before a picture.
    RedrawWindow(editor.mainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    int width = 0;
    int height = 0;
    if (!window_pixels::clientSize(window, width, height)) return false;
    picture.width = width;
    picture.height = height;
    if (picture.pixels == nullptr || picture.capacity < static_cast<long long>(width) * height) return false;
    return window_pixels::read(window, width, height, picture.pixels);
}

}  // namespace wowfix
