// Message boxes, file dialogs, the current directory and bitmap resources of
// the software layer. Without a screen, message boxes are recorded and answer
// OK, and file dialogs answer what the caller arranged beforehand.

#include "editor/win32/ScriptedAnswers.h"
#include "editor/win32/SoftInput.h"
#include "editor/win32/SoftObjects.h"

#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <system_error>

namespace {

std::deque<std::string>& dialogAnswers() {
    static std::deque<std::string> answers;
    return answers;
}

std::vector<std::string>& messageBoxes() {
    static std::vector<std::string> boxes;
    return boxes;
}

struct BitmapResource {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

std::map<int, BitmapResource>& bitmapResources() {
    static std::map<int, BitmapResource> resources;
    return resources;
}

// Copies `text` into `buffer` of `capacity` bytes, cut to fit; false when
// nothing fits.
bool copyBounded(char* buffer, size_t capacity, const std::string& text) {
    if (buffer == nullptr || capacity == 0) return false;
    const size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n == text.size();
}

wowfix::soft::InteractiveMessageBox& interactiveMessageBox() {
    static wowfix::soft::InteractiveMessageBox box = nullptr;
    return box;
}

wowfix::soft::InteractiveFileDialog& interactiveDialog() {
    static wowfix::soft::InteractiveFileDialog dialog = nullptr;
    return dialog;
}

BOOL answerFileDialog(OPENFILENAMEA* dialog, bool save) {
    if (dialog == nullptr || dialog->lpstrFile == nullptr || dialog->nMaxFile == 0) return FALSE;
    std::string path;
    if (!dialogAnswers().empty()) {
        path = dialogAnswers().front();
        dialogAnswers().pop_front();
    } else if (interactiveDialog() == nullptr ||
               !interactiveDialog()(dialog->lpstrTitle != nullptr ? dialog->lpstrTitle : (save ? "Save" : "Open"),
                                    save, path)) {
        return FALSE;
    }
    if (path.empty()) return FALSE;
    // The flags ask what the system's dialog asks before it closes.
    std::error_code error;
    const std::filesystem::path chosen(path);
    if (!save && (dialog->Flags & OFN_FILEMUSTEXIST) != 0 && !std::filesystem::is_regular_file(chosen, error)) {
        MessageBoxA(dialog->hwndOwner, (path + "\nFile not found.").c_str(), dialog->lpstrTitle, MB_OK);
        return FALSE;
    }
    if ((dialog->Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) != 0 && chosen.has_parent_path() &&
        !std::filesystem::is_directory(chosen.parent_path(), error)) {
        MessageBoxA(dialog->hwndOwner, (path + "\nPath does not exist.").c_str(), dialog->lpstrTitle, MB_OK);
        return FALSE;
    }
    if (save && (dialog->Flags & OFN_OVERWRITEPROMPT) != 0 && std::filesystem::exists(chosen, error) &&
        MessageBoxA(dialog->hwndOwner, (path + " already exists.\nDo you want to replace it?").c_str(),
                    dialog->lpstrTitle, MB_YESNO) != IDYES)
        return FALSE;
    // A path longer than the caller's buffer is refused, as the system does,
    // rather than handed on cut.
    if (!copyBounded(dialog->lpstrFile, dialog->nMaxFile, path)) {
        dialog->lpstrFile[0] = '\0';
        return FALSE;
    }
    const size_t slash = path.find_last_of("/\\");
    dialog->nFileOffset = static_cast<WORD>(slash == std::string::npos ? 0 : slash + 1);
    const size_t dot = path.find_last_of('.');
    dialog->nFileExtension =
        static_cast<WORD>(dot == std::string::npos || (slash != std::string::npos && dot < slash) ? 0 : dot + 1);
    return TRUE;
}

}  // namespace

namespace wowfix::soft {

void answerNextDialog(const std::string& path) { dialogAnswers().push_back(path); }

void setInteractiveFileDialog(InteractiveFileDialog dialog) { interactiveDialog() = dialog; }

void setInteractiveMessageBox(InteractiveMessageBox box) { interactiveMessageBox() = box; }

std::vector<std::string> takeMessageBoxes() {
    std::vector<std::string> boxes;
    boxes.swap(messageBoxes());
    return boxes;
}

void registerBitmapResource(int id, int width, int height, const std::uint8_t* bgr) {
    if (width <= 0 || height <= 0 || bgr == nullptr) return;
    BitmapResource& r = bitmapResources()[id];
    r.width = width;
    r.height = height;
    r.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < r.pixels.size(); ++i) r.pixels[i] = RGB(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]);
}

}  // namespace wowfix::soft

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    messageBoxes().push_back(std::string(caption != nullptr ? caption : "") + ": " + (text != nullptr ? text : ""));
    // While a scripted action is applied nobody is there to answer.
    if (interactiveMessageBox() != nullptr && !wowfix::ScriptedActionScope::active())
        return interactiveMessageBox()(caption != nullptr ? caption : "", text != nullptr ? text : "", type);
    const UINT buttons = type & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* dialog) { return answerFileDialog(dialog, false); }

BOOL GetSaveFileNameA(OPENFILENAMEA* dialog) { return answerFileDialog(dialog, true); }

DWORD GetCurrentDirectoryA(DWORD capacity, LPSTR buffer) {
    std::error_code error;
    const std::string path = std::filesystem::current_path(error).string();
    if (error) return 0;
    // Like the system: the length without terminator when it fits, else the
    // size the buffer must have.
    if (buffer == nullptr || capacity < path.size() + 1) return static_cast<DWORD>(path.size() + 1);
    copyBounded(buffer, capacity, path);
    return static_cast<DWORD>(path.size());
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
    if (path == nullptr) return FALSE;
    std::error_code error;
    std::filesystem::current_path(path, error);
    return error ? FALSE : TRUE;
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) {
    const int id = static_cast<int>(reinterpret_cast<UINT_PTR>(name) & 0xFFFF);
    auto found = bitmapResources().find(id);
    if (found == bitmapResources().end()) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, found->second.width, found->second.height);
    if (bitmap != nullptr) bitmap->raster.pixels = found->second.pixels;
    return bitmap;
}
