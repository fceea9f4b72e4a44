#include "editor/HeadlessWindowActions.h"

#include "editor/EditorWindow.h"

#include "editor/win32/ScriptedAnswers.h"
#include "editor/win32/UserInput.h"

namespace wowfix {

// A scripted action arrives as the layer's user input; what it opens
// answers itself, so no dialog or box waits for a user who is not there.
bool applyEditorAction(EditorWindow& editor, const vendor::EditorAction& action) {
    if (!editor.isOpen()) return false;
    const ScriptedActionScope scripted;
    bool done = false;
    switch (action.kind) {
        case vendor::kClickControl:
            done = user_input::clickControl(editor.mainWindow(), action.id, action.item);
            break;
        case vendor::kDragPanel:
            done = user_input::drag(editor.panelWindow(), action.x1, action.y1, action.x2, action.y2);
            break;
        case vendor::kRightClickPanel:
            done = user_input::rightClick(editor.panelWindow(), action.x1, action.y1);
            break;
        case vendor::kWheel:
            done = user_input::wheel(editor.panelWindow(), action.item * WHEEL_DELTA, action.x1, action.y1);
            break;
        case vendor::kKey:
            done = user_input::key(editor.mainWindow(), action.item);
            break;
        case vendor::kAnswerDialog:
            queueFileDialogAnswer(action.path != nullptr ? action.path : "");
            done = true;
            break;
        default:
            return false;
    }
    // The window may have closed on the action.
    if (editor.isOpen()) user_input::deliverPaint(editor.mainWindow());
    return done;
}

}  // namespace wowfix
