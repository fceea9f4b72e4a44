#pragma once
// The window a host opens the plug-in's editor in (one file for each system
// implements it). On Windows the editor needs a real parent window, shown on
// the screen, whose messages the host pumps; elsewhere the editor opens
// headless, with no parent at all.

#include "hostsim/OfflineHost.h"

#include <string>

namespace wowfix::hostsim {

class EditorParent {
public:
    EditorParent() = default;
    ~EditorParent();
    EditorParent(const EditorParent&) = delete;
    EditorParent& operator=(const EditorParent&) = delete;

    // Makes the window for an editor of `width` x `height` pixels. False
    // with `error` set when the system gives none.
    bool create(int width, int height, std::string& error);
    // What effEditOpen takes: the window, or nullptr for a headless editor.
    void* handle() const { return window_; }
    // Handles the window's pending messages and gives the open editor its
    // idle time (effEditIdle); nothing to do for a headless editor.
    void pump(OfflineHost& host);

private:
    void* window_ = nullptr;
};

}  // namespace wowfix::hostsim
