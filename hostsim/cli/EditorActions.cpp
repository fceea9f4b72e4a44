#include "hostsim/cli/EditorActions.h"

#include <cstdio>
#include <sstream>

namespace wowfix::hostsim {

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool readPoint(const std::string& word, std::int32_t& x, std::int32_t& y) {
    int a = 0;
    int b = 0;
    char end = 0;
    if (std::sscanf(word.c_str(), "%d,%d%c", &a, &b, &end) != 2) return false;
    x = a;
    y = b;
    return true;
}

bool readNumber(const std::string& word, std::int32_t& n) {
    int v = 0;
    char end = 0;
    if (std::sscanf(word.c_str(), "%d%c", &v, &end) != 1) return false;
    n = v;
    return true;
}

bool parseOne(const std::string& text, EditorActionText& out) {
    std::istringstream words(text);
    std::string verb;
    std::string first;
    std::string second;
    words >> verb >> first >> second;
    std::string rest;
    if (words >> rest) return false;
    vendor::EditorAction& a = out.action;
    a.size = sizeof(a);
    a.item = -1;
    if (verb == "click" && second.empty()) {
        a.kind = vendor::kClickControl;
        const auto eq = first.find('=');
        if (eq == std::string::npos) return readNumber(first, a.id);
        return readNumber(first.substr(0, eq), a.id) && readNumber(first.substr(eq + 1), a.item) && a.item >= 0;
    }
    if (verb == "drag") {
        a.kind = vendor::kDragPanel;
        return readPoint(first, a.x1, a.y1) && readPoint(second, a.x2, a.y2);
    }
    if (verb == "rclick" && second.empty()) {
        a.kind = vendor::kRightClickPanel;
        return readPoint(first, a.x1, a.y1);
    }
    if (verb == "wheel" && second.empty()) {
        a.kind = vendor::kWheel;
        return readNumber(first, a.item);
    }
    if (verb == "key" && second.empty()) {
        a.kind = vendor::kKey;
        return readNumber(first, a.item);
    }
    if (verb == "answer") {
        a.kind = vendor::kAnswerDialog;
        // The path is the rest of the action, spaces included.
        const auto at = text.find("answer");
        out.path = trimmed(text.substr(at + 6));
        return true;
    }
    return false;
}

}  // namespace

bool parseEditorActions(const std::string& script, std::vector<EditorActionText>& actions, std::string& error) {
    actions.clear();
    std::size_t start = 0;
    while (start <= script.size()) {
        const std::size_t end = script.find(';', start);
        const std::string text = trimmed(script.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!text.empty()) {
            EditorActionText action;
            action.text = text;
            if (!parseOne(text, action)) {
                error = "bad action '" + text + "': expected click ID[=ITEM], drag X,Y X,Y, rclick X,Y, wheel N, key K or answer PATH";
                return false;
            }
            actions.push_back(action);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return true;
}

bool readEditorPicture(OfflineHost& host, bool panelOnly, vendor::WindowPicture& picture,
                       std::vector<std::uint32_t>& pixels) {
    picture = vendor::WindowPicture{};
    picture.size = sizeof(picture);
    picture.panelOnly = panelOnly ? 1 : 0;
    host.vendorCommand(vendor::kEditorPicture, &picture);
    if (picture.width < 1 || picture.height < 1 || picture.width > 8192 || picture.height > 8192) return false;
    pixels.assign(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height), 0);
    picture.capacity = static_cast<std::int32_t>(pixels.size());
    picture.pixels = pixels.data();
    return host.vendorCommand(vendor::kEditorPicture, &picture) != 0 &&
           static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) == pixels.size();
}

}  // namespace wowfix::hostsim
