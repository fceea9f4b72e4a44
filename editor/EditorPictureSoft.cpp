#include "editor/HeadlessWindowActions.h"

#include "editor/EditorWindow.h"

#include "editor/win32/SoftInput.h"

#include <algorithm>

namespace wowfix {

// The software layer: the window's picture is its surfaces.

bool copyEditorPicture(EditorWindow& editor, vendor::WindowPicture& picture) {
    if (!editor.isOpen()) return false;
    soft::Picture taken;
    soft::deliverPaint(editor.mainWindow());
    const bool ok = picture.panelOnly != 0 ? soft::takeSurface(editor.panelWindow(), taken)
                                           : soft::takePicture(editor.mainWindow(), taken);
    if (!ok) return false;
    picture.width = taken.width;
    picture.height = taken.height;
    const long long needed = static_cast<long long>(taken.width) * taken.height;
    if (picture.pixels == nullptr || picture.capacity < needed) return false;
    std::copy(taken.pixels.begin(), taken.pixels.end(), picture.pixels);
    return true;
}

}  // namespace wowfix
