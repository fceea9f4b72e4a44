#pragma once
// The file dialogs and message boxes the editor opens, and the answers a
// scripted run arranges for them (one file for each window layer implements
// them). A user gets the layer's own dialogs and boxes. A file dialog for
// which an answer was queued takes that answer instead, checked as the
// dialog checks what a user picks; and while a scripted action is applied,
// a message box is not shown but answers its first button (OK or Yes), so
// that nothing waits for a user who is not there.

#include "editor/win32/Win32.h"

#include <string>

namespace wowfix {

// GetOpenFileNameA / GetSaveFileNameA, or the next queued answer.
BOOL showOpenFileDialog(OPENFILENAMEA* dialog);
BOOL showSaveFileDialog(OPENFILENAMEA* dialog);
// MessageBoxA, or its first button while a scripted action is applied.
int showMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// The next file dialog answers `path` (empty: the user cancels).
void queueFileDialogAnswer(const std::string& path);

// A scripted action being applied, for as long as the object lives (on the
// thread that made it; scopes may nest).
class ScriptedActionScope {
public:
    ScriptedActionScope();
    ~ScriptedActionScope();
    ScriptedActionScope(const ScriptedActionScope&) = delete;
    ScriptedActionScope& operator=(const ScriptedActionScope&) = delete;
    // Whether a scripted action is being applied on this thread.
    static bool active();
};

}  // namespace wowfix
