#include "hostsim/cli/EditorScript.h"

#include "hostsim/cli/EditorControlIds.h"

#include <sstream>

namespace wowfix::hostsim {

namespace {

namespace ids = editor_control;

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The text after the first word, spaces inside kept.
std::string restAfterVerb(const std::string& text, const std::string& verb) {
    return trimmed(text.substr(verb.size()));
}

bool addAction(ScriptStep& step, const std::string& text) {
    std::vector<EditorActionText> parsed;
    std::string ignored;
    if (!parseEditorActions(text, parsed, ignored) || parsed.size() != 1) return false;
    step.actions.push_back(parsed[0]);
    return true;
}

// A dialog answered with the step's path, then the button that opens it.
bool answeredButton(ScriptStep& step, int button) {
    if (step.path.empty()) return false;
    EditorActionText answer;
    answer.text = "answer " + step.path;
    answer.path = step.path;
    answer.action.size = sizeof(answer.action);
    answer.action.kind = vendor::kAnswerDialog;
    answer.action.item = -1;
    step.actions.push_back(answer);
    return addAction(step, "click " + std::to_string(button));
}

// Reads one non-empty line; false with `why` when it is not a step.
bool parseStep(const std::string& text, ScriptStep& step, std::string& why) {
    std::istringstream words(text);
    std::string verb;
    words >> verb;
    std::vector<std::string> rest;
    for (std::string word; words >> word;) rest.push_back(word);
    step.text = text;
    if (verb == "process" || verb == "export" || verb == "import") {
        step.path = restAfterVerb(text, verb);
        if (step.path.empty()) {
            why = verb + " needs a file name";
            return false;
        }
        if (verb == "process") {
            step.kind = ScriptStepKind::Process;
            return true;
        }
        step.kind = verb == "export" ? ScriptStepKind::Export : ScriptStepKind::Import;
        return answeredButton(step, verb == "export" ? ids::kExportPvc : ids::kImportPvc);
    }
    if (verb == "undo" || verb == "redo" || verb == "wait") {
        if (!rest.empty()) {
            why = verb + " takes nothing after it";
            return false;
        }
        if (verb == "wait") {
            step.kind = ScriptStepKind::Wait;
            return true;
        }
        return addAction(step, "click " + std::to_string(verb == "undo" ? ids::kUndo : ids::kRedo));
    }
    if (verb == "screenshot") {
        step.kind = ScriptStepKind::Screenshot;
        std::string path = restAfterVerb(text, verb);
        const std::string panel = "--panel";
        if (path.size() >= panel.size() && path.compare(path.size() - panel.size(), panel.size(), panel) == 0 &&
            (path.size() == panel.size() || path[path.size() - panel.size() - 1] == ' ' ||
             path[path.size() - panel.size() - 1] == '\t')) {
            step.panelOnly = true;
            path = trimmed(path.substr(0, path.size() - panel.size()));
        }
        step.path = path;
        if (step.path.empty() || step.path.compare(0, 2, "--") == 0) {
            why = "screenshot needs a PNG file name (and --panel at most)";
            return false;
        }
        return true;
    }
    step.kind = ScriptStepKind::Actions;
    std::string error;
    if (parseEditorActions(text, step.actions, error)) return true;
    why = "expected click ID[=ITEM], drag X,Y X,Y, rclick X,Y, wheel N, key K, answer PATH, process OUTPUT, "
          "export PATH, import PATH, undo, redo, wait or screenshot PNG [--panel]";
    return false;
}

}  // namespace

bool parseEditorScript(const std::string& script, std::vector<ScriptStep>& steps, std::string& error) {
    steps.clear();
    std::istringstream lines(script);
    int number = 0;
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        const std::string text = trimmed(raw);
        if (text.empty() || text[0] == '#') continue;
        ScriptStep step;
        step.line = number;
        std::string why;
        if (!parseStep(text, step, why)) {
            error = "line " + std::to_string(number) + ": '" + text + "': " + why;
            steps.clear();
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

}  // namespace wowfix::hostsim
