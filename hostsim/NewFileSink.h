#pragma once
// Where the host puts a new file the plug-in makes: into a file written
// beside its final name, renamed onto it only when the task succeeded.

#include "hostsim/OfflineHost.h"
#include "tools/soundio/ReplacingFile.h"

namespace wowfix::hostsim {

// The plug-in's new file written into `partial` in `container`, with the
// encoding chosen for its channels and rate; `partial` must outlive the task.
NewFileFactory newFileInto(soundio::ReplacingFile& partial, int container);

}  // namespace wowfix::hostsim
