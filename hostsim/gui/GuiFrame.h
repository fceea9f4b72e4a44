#pragma once
// The host's own window in a session with a user: the plug-in's editor in
// its upper part, and below it the host's small frame — "Open...",
// "Process", "Save as..." and "Quit", the list of the files the host holds,
// the open file's selection and cursor, and a status line. Built on the
// software window layer and shown through X11, so it looks the same on
// every Linux desktop and can be driven without one.

#include "editor/win32/SoftWin32.h"

#include <functional>
#include <string>
#include <vector>

namespace wowfix::hostsim {

class GuiFrame {
public:
    static constexpr int kEditorWidth = 780;
    static constexpr int kEditorHeight = 470;
    static constexpr int kWidth = kEditorWidth;
    static constexpr int kHeight = kEditorHeight + 80;
    enum Control { kOpen = 1, kProcess = 2, kSaveAs = 3, kQuit = 4, kFileList = 10, kPosition = 11, kStatus = 12 };

    // Told the control the user pressed, or kFileList with the entry chosen.
    using CommandHandler = std::function<void(int control, int entry)>;

    explicit GuiFrame(CommandHandler handler);
    ~GuiFrame();
    GuiFrame(const GuiFrame&) = delete;
    GuiFrame& operator=(const GuiFrame&) = delete;

    HWND window() const { return window_; }
    // Shows the names of the held files, entry `current` chosen.
    void showFiles(const std::vector<std::string>& names, int current);
    void showPosition(const std::string& text);
    void showStatus(const std::string& text);
    // "Open...", "Process", "Save as..." and the list usable or not (while a
    // task runs).
    void enableCommands(bool enable);
    std::string status() const;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void setText(int id, const std::string& text);

    CommandHandler handler_;
    HWND window_ = nullptr;
};

}  // namespace wowfix::hostsim
