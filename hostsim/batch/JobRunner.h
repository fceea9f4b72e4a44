#pragma once
// One job of a batch, start to end: the wow and flutter of the input, its
// curve (detected through the plug-in, or the given one brought to the
// input's rate), the conditioning steps, the correction through the plug-in
// into the output (written beside it and renamed), the wow and flutter of
// the output. The conditioned curve is kept beside the output as
// OUTPUT.pvc. Progress and the commands' own messages go to `log`.

#include <ostream>
#include <string>

#include "hostsim/batch/BatchManifest.h"
#include "hostsim/batch/JobRecord.h"

namespace wowfix::batch {

JobRecord runJob(const Manifest& manifest, const BatchJob& job, const std::string& plugin, std::ostream& log);

// The conditioned curve's path for an output.
std::string curvePathFor(const BatchJob& job);

}  // namespace wowfix::batch
