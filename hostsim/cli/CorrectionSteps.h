#pragma once
// The steps of a correction that the correct and auto commands share:
// choosing the output's container, then the host's process request, which
// has the plug-in resample the selection along the curve it holds into a new
// file.

#include "hostsim/OfflineHost.h"
#include "hostsim/SndfileSource.h"

#include <functional>
#include <ostream>
#include <string>

namespace wowfix::hostsim {

// The container of the output: `format` by name, or the input's own when
// `format` is empty. False with `error` set when it is unknown or cannot
// hold the input's channels and rate; a container without 32-bit float gets
// a note on `err` (unless `quiet`).
bool chooseOutputContainer(const SndfileSource& source, const std::string& input, const std::string& format,
                           bool quiet, std::ostream& err, int& container, std::string& error);

// Sends the process request for the host's selection and writes the new file
// the plug-in makes to `output`, which is replaced only when the whole run
// succeeded. Shows a progress bar and, unless `quiet`, what was written.
// A host that runs its tasks on a worker thread gives `waitForTask`, which
// comes back once the task has ended (false with `error` when it did not).
bool writeCorrectedFile(OfflineHost& host, const std::string& output, int container, bool quiet, std::ostream& err,
                        std::string& error, const std::function<bool(std::string&)>& waitForTask = {});

}  // namespace wowfix::hostsim
