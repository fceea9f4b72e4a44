#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

// The editor's side of the task handshake: it receives every file
// notification of the host, records the file in the plug-in and starts the
// tasks that were requested; the plug-in asks it whether the handshake is
// complete and where the user's selection is.
class NotificationHandler {
public:
    virtual ~NotificationHandler() = default;

    virtual void handleNotification(VstAudioFile* files, int count) = 0;
    // 2 once the editor works on a file; the host's process request is
    // accepted only then.
    virtual int notifyState() const = 0;
    // The host's selection as last seen, in frames.
    virtual double selectionStart() const = 0;
    virtual double selectionEnd() const = 0;
};

}  // namespace wowfix
