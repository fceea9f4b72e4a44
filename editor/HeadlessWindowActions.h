#pragma once

#include "host/VendorCommands.h"

namespace wowfix {

class EditorWindow;

// A scripted user action on the open editor window, and its picture, for
// hosts without a screen. Answer false when the window is not open, the
// action cannot be done, or the layer has no pictures (Windows).
bool applyEditorAction(EditorWindow& editor, const vendor::EditorAction& action);
bool copyEditorPicture(EditorWindow& editor, vendor::WindowPicture& picture);

}  // namespace wowfix
