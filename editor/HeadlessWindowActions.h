#pragma once

#include "host/VendorCommands.h"

namespace wowfix {

class EditorWindow;

// A scripted user action on the open editor window, given as the window
// layer's user input, and its picture (one file for each window layer takes
// it), for scripted hosts. Answer
// false when the window is not open or the action cannot be done. On Windows
// the actions are the messages of a user's input on the real window, and the
// picture is what the real window shows on the screen. While an action is
// applied, a message box it raises answers its first button unseen.
bool applyEditorAction(EditorWindow& editor, const vendor::EditorAction& action);
bool copyEditorPicture(EditorWindow& editor, vendor::WindowPicture& picture);

}  // namespace wowfix
