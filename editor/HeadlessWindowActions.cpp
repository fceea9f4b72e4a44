#include "editor/HeadlessWindowActions.h"

#include "editor/EditorWindow.h"

#include "editor/win32/ScriptedAnswers.h"
#include "editor/win32/SoftInput.h"

#include <algorithm>

namespace wowfix {

// The software layer: actions are its scripted input, pictures its surfaces.

bool applyEditorAction(EditorWindow& editor, const vendor::EditorAction& action) {
    if (!editor.isOpen()) return false;
    const ScriptedActionScope scripted;
    bool done = false;
    switch (action.kind) {
        case vendor::kClickControl:
            done = soft::clickControl(editor.mainWindow(), action.id, action.item);
            break;
        case vendor::kDragPanel:
            done = soft::drag(editor.panelWindow(), action.x1, action.y1, action.x2, action.y2);
            break;
        case vendor::kRightClickPanel:
            done = soft::rightClick(editor.panelWindow(), action.x1, action.y1);
            break;
        case vendor::kWheel:
            done = soft::wheel(editor.panelWindow(), action.item * WHEEL_DELTA, action.x1, action.y1);
            break;
        case vendor::kKey:
            done = soft::key(editor.mainWindow(), action.item);
            break;
        case vendor::kAnswerDialog:
            queueFileDialogAnswer(action.path != nullptr ? action.path : "");
            done = true;
            break;
        default:
            return false;
    }
    if (editor.isOpen()) soft::deliverPaint(editor.mainWindow());
    return done;
}

bool copyEditorPicture(EditorWindow& editor, vendor::WindowPicture& picture) {
    if (!editor.isOpen()) return false;
    soft::Picture taken;
    soft::deliverPaint(editor.mainWindow());
    const bool ok = picture.panelOnly != 0 ? soft::takeSurface(editor.panelWindow(), taken)
                                           : soft::takePicture(editor.mainWindow(), taken);
    if (!ok) return false;
    picture.width = taken.width;
    picture.height = taken.height;
    const long long needed = static_cast<long long>(taken.width) * taken.height;
    if (picture.pixels == nullptr || picture.capacity < needed) return false;
    std::copy(taken.pixels.begin(), taken.pixels.end(), picture.pixels);
    return true;
}

}  // namespace wowfix
