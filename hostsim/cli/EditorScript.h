#pragma once
// The script of `wowfix-host script`: one step per line, each a user's action
// on the editor window or one of the host's own (process, wait, screenshot).
//
//     # comment
//     click 72=4           (any action of the screenshot command's --after)
//     drag 300,120 300,90
//     process OUTPUT       the host's process run into a new file
//     export PATH          "Export PVC" answered with PATH
//     import PATH          "Import PVC" answered with PATH
//     undo / redo          "Undo" / "Redo"
//     wait                 the notifications the plug-in still asks for
//     screenshot PNG [--panel]

#include "hostsim/cli/EditorActions.h"

#include <string>
#include <vector>

namespace wowfix::hostsim {

enum class ScriptStepKind { Actions, Process, Export, Import, Wait, Screenshot };

struct ScriptStep {
    ScriptStepKind kind = ScriptStepKind::Actions;
    int line = 0;                  // 1-based
    std::string text;              // the line as written, trimmed
    std::string path;              // process, export, import, screenshot
    bool panelOnly = false;        // screenshot --panel
    std::vector<EditorActionText> actions;  // what is sent to the window, in order
};

// Reads the whole script. False with `error` naming the line number and text
// of the first bad line; `steps` is then empty.
bool parseEditorScript(const std::string& script, std::vector<ScriptStep>& steps, std::string& error);

}  // namespace wowfix::hostsim
