#pragma once
// A session a user can live in: the host's window with the plug-in's editor
// inside and the host's frame below it, as an audio editor offers. Tasks that
// read or write audio run on a worker thread while the window stays live;
// the host reports its files again after every task, takes the plug-in's
// cursor and selection, and delivers the notifications the plug-in asks for
// from its own loop, on the user-interface thread.

#include "hostsim/OfflineHost.h"
#include "hostsim/gui/GuiFrame.h"
#include "hostsim/gui/HeldFiles.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace wowfix {
class X11Presenter;
}
namespace wowfix::soundio {
class ReplacingFile;
}

namespace wowfix::hostsim {


class GuiSession {
public:
    GuiSession();
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    // Loads the plug-in, shows the host's window on the display (none when
    // `onScreen` is false: the session is then driven through its calls) and
    // opens the plug-in's editor inside it. False with `error` set.
    bool start(const std::string& pluginPath, bool onScreen, std::string& error);
    // One round of the loop: the window's events, the editor's idle, the end
    // of a task, the notifications asked for. False once the user quit.
    bool step();
    // Steps until the user quits; answers the exit status.
    int run();

    // What the frame's controls do; each false with the reason as status.
    bool openFile(const std::string& path);
    bool process();
    bool saveAs(const std::string& path);
    bool chooseFile(int index);
    void quit() { quit_ = true; }

    bool busy() const { return host_.taskRunning() || worker_.joinable(); }
    // Steps until no task runs and no notification is waiting (at most
    // `rounds` rounds); false when it did not come to rest.
    bool settle(int rounds = 100000);
    OfflineHost& host() { return host_; }
    const HeldFiles& files() const { return files_; }
    int currentFile() const { return current_; }
    GuiFrame& frame() { return *frame_; }
    // The host's X11 window, the editor's window inside it (0 without).
    unsigned long hostWindow() const;
    const std::string& status() const { return status_; }
    // How many file notifications the host has sent.
    int reports() const { return reports_; }

private:
    void command(int control, int entry);
    void taskEnded();
    void report(const std::string& text);
    void showState();
    void showFiles();
    void notify(bool start);

    OfflineHost host_;
    HeldFiles files_;
    std::unique_ptr<GuiFrame> frame_;
    std::unique_ptr<wowfix::X11Presenter> presenter_;
    std::thread worker_;
    std::unique_ptr<soundio::ReplacingFile> correction_;
    std::string correctionName_;
    int current_ = -1;
    bool editorOpen_ = false;
    bool quit_ = false;
    int reports_ = 0;
    std::string status_;
};

}  // namespace wowfix::hostsim
