#pragma once
// The start of the commands that work in the plug-in's editor window, as a
// user who opens a file and then the plug-in's window sees it: the session
// on the input, the window, and the spectrogram pass it shows first.

#include "hostsim/OfflineHost.h"
#include "hostsim/SndfileSource.h"
#include "hostsim/cli/EditorParent.h"

#include <memory>
#include <ostream>
#include <string>

namespace wowfix::hostsim {

// Starts the session on `source` (the file `inputPath`) with the plug-in
// `pluginOption` names, opens its editor window in `parent` and runs the
// spectrogram pass with the window's messages pumped (a progress bar on
// `err` unless `quiet`). False with `error` set when any of them fails; a
// window opened for a pass that failed is closed again.
bool openEditorOnInput(OfflineHost& host, EditorParent& parent, const std::string& pluginOption,
                       std::unique_ptr<SndfileSource> source, const std::string& inputPath, bool quiet,
                       std::ostream& err, std::string& error);

}  // namespace wowfix::hostsim
