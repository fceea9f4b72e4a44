#pragma once
// The centre-of-gravity algorithm from the command line: the plug-in
// acquires the view over the line's time range, zoomed onto the line's
// frequency with the reference line on it, and the centre-of-gravity tool is
// dragged along the line in the panel's pixels, press to release, exactly as
// a mouse would. The pixels come from the store's own mappings, computed
// here on a store with the plug-in's settings.

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/TonalLine.h"

#include <ostream>
#include <string>

namespace wowfix::hostsim {

// Transform length of the line's view: a fine frequency grid for the line.
constexpr int kLineFftLength = 8192;

// After the whole-file spectrogram pass: the view over the line and the drag.
// Leaves the host's selection on the whole file, so that a process request
// corrects all of it along the curve. False with `error` set when the line
// does not fit the file, a task fails or the line is not found at its start.
bool dragAlongLine(OfflineHost& host, const TonalLine& line, bool quiet, std::ostream& err, std::string& error);

}  // namespace wowfix::hostsim
