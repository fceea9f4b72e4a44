// The system's file dialogs and message boxes, unless a scripted run has
// answered them. A queued answer is checked as the system's dialog checks
// what the user picks before it closes, with the same boxes (which a
// scripted action answers with their first button).

#include "editor/win32/ScriptedAnswers.h"

#include <cstring>
#include <deque>

namespace wowfix {

namespace {

thread_local int scriptedDepth = 0;

std::deque<std::string>& queuedAnswers() {
    static std::deque<std::string> answers;
    return answers;
}

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The folder part of `path` ("" for a bare name), and whether it is a folder.
bool folderExists(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return true;
    std::string folder = path.substr(0, slash + 1);
    // "C:\" names the drive's root; "C:" alone would name its current folder.
    if (folder.size() > 1 && !(folder.size() == 3 && folder[1] == ':')) folder.pop_back();
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL answerFileDialog(OPENFILENAMEA* dialog, bool save, const std::string& path) {
    if (dialog == nullptr || dialog->lpstrFile == nullptr || dialog->nMaxFile == 0) return FALSE;
    if (path.empty()) return FALSE;
    const char* title = dialog->lpstrTitle != nullptr ? dialog->lpstrTitle : (save ? "Save As" : "Open");
    if (!save && (dialog->Flags & OFN_FILEMUSTEXIST) != 0 && !isFile(path)) {
        showMessageBox(dialog->hwndOwner, (path + "\nFile not found.").c_str(), title, MB_OK);
        return FALSE;
    }
    if ((dialog->Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) != 0 && !folderExists(path)) {
        showMessageBox(dialog->hwndOwner, (path + "\nPath does not exist.").c_str(), title, MB_OK);
        return FALSE;
    }
    if (save && (dialog->Flags & OFN_OVERWRITEPROMPT) != 0 && exists(path) &&
        showMessageBox(dialog->hwndOwner, (path + " already exists.\nDo you want to replace it?").c_str(), title,
                       MB_YESNO) != IDYES)
        return FALSE;
    // A path longer than the caller's buffer is refused, as the system does,
    // rather than handed on cut.
    if (path.size() + 1 > dialog->nMaxFile) {
        dialog->lpstrFile[0] = '\0';
        return FALSE;
    }
    std::memcpy(dialog->lpstrFile, path.c_str(), path.size() + 1);
    const std::size_t slash = path.find_last_of("/\\");
    dialog->nFileOffset = static_cast<WORD>(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = path.find_last_of('.');
    dialog->nFileExtension =
        static_cast<WORD>(dot == std::string::npos || (slash != std::string::npos && dot < slash) ? 0 : dot + 1);
    return TRUE;
}

// The next queued answer into `path`; false when none is queued.
bool takeAnswer(std::string& path) {
    if (queuedAnswers().empty()) return false;
    path = queuedAnswers().front();
    queuedAnswers().pop_front();
    return true;
}

}  // namespace

BOOL showOpenFileDialog(OPENFILENAMEA* dialog) {
    std::string path;
    if (takeAnswer(path)) return answerFileDialog(dialog, false, path);
    return GetOpenFileNameA(dialog);
}

BOOL showSaveFileDialog(OPENFILENAMEA* dialog) {
    std::string path;
    if (takeAnswer(path)) return answerFileDialog(dialog, true, path);
    return GetSaveFileNameA(dialog);
}

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (!ScriptedActionScope::active()) return MessageBoxA(owner, text, caption, type);
    switch (type & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL: return IDYES;
        case MB_RETRYCANCEL: return IDRETRY;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        default: return IDOK;
    }
}

void queueFileDialogAnswer(const std::string& path) { queuedAnswers().push_back(path); }

ScriptedActionScope::ScriptedActionScope() { ++scriptedDepth; }

ScriptedActionScope::~ScriptedActionScope() { --scriptedDepth; }

bool ScriptedActionScope::active() { return scriptedDepth > 0; }

}  // namespace wowfix
