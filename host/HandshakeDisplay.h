#pragma once

namespace wowfix {

// What the file notifications show in the editor's window when one is
// open: the start picture until the user's first click, the undo buttons of
// the open file, the zoom mode a new file starts in, and the host's cursor
// and selection. Without a window nothing of this is shown.
class HandshakeDisplay {
public:
    virtual ~HandshakeDisplay() = default;

    // True while the window is open and the start picture applies.
    virtual bool showing() const = 0;
    // The start picture in the panel and the working controls hidden;
    // `firstTime` also shows it and selects the start-picture tool.
    virtual void showStartPicture(bool firstTime) = 0;
    // The working controls shown again once the user has started.
    virtual void showWorkingControls() = 0;
    // The first notification after the user's click: the start-picture tool
    // gives way to the zoom tool.
    virtual void leaveStartPicture() = 0;
    // A new file became the open one: the zoom mode unless it is active.
    virtual void newFileOpened() = 0;
    virtual void undoStateChanged(bool canUndo, bool canRedo) = 0;
    virtual void editCursorMoved(double cursor) = 0;
    virtual void selectionChanged(double start, double end) = 0;
};

}  // namespace wowfix
