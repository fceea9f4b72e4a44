// The software layer's dialogs already answer what was queued, and its
// message boxes without a screen answer their first button: the seam hands
// on to them.

#include "editor/win32/ScriptedAnswers.h"

#include "editor/win32/SoftInput.h"

namespace wowfix {

namespace {

thread_local int scriptedDepth = 0;

}  // namespace

BOOL showOpenFileDialog(OPENFILENAMEA* dialog) { return GetOpenFileNameA(dialog); }

BOOL showSaveFileDialog(OPENFILENAMEA* dialog) { return GetSaveFileNameA(dialog); }

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

void queueFileDialogAnswer(const std::string& path) { soft::answerNextDialog(path); }

ScriptedActionScope::ScriptedActionScope() { ++scriptedDepth; }

ScriptedActionScope::~ScriptedActionScope() { --scriptedDepth; }

bool ScriptedActionScope::active() { return scriptedDepth > 0; }

}  // namespace wowfix
