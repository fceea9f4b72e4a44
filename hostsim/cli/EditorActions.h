#pragma once

#include "host/VendorCommands.h"
#include "hostsim/OfflineHost.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// One scripted action on the editor window, as written and as the record
// the plug-in takes (its path points into `path` when sent).
struct EditorActionText {
    std::string text;
    std::string path;
    vendor::EditorAction action{};
};

// Reads "click ID[=ITEM]; drag X,Y X,Y; rclick X,Y; wheel N; key K;
// answer PATH", separated by ';'. False with `error` naming the first bad
// action.
bool parseEditorActions(const std::string& script, std::vector<EditorActionText>& actions, std::string& error);

// The open editor window's picture, or its panel's.
bool readEditorPicture(OfflineHost& host, bool panelOnly, vendor::WindowPicture& picture,
                       std::vector<std::uint32_t>& pixels);

}  // namespace wowfix::hostsim
