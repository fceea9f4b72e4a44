#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

class HostPort;

// Task mode 9: sets the host's selection to the editor's selection
// selectionStart ... selectionEnd (frames). A selection that reaches past the
// end of the file is moved to frame 0, its length clamped to the file; one
// that ends exactly at the end stays where it is. Answers true even when the
// host does not let the selection be read.
bool runSelectionTask(HostPort& host, VstOfflineTask& task, double selectionStart, double selectionEnd);

}  // namespace wowfix
