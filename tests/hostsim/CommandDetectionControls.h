#pragma once
// The detection's commands given through the plug-in's scripted commands for
// the same buttons, without the editor's window: the reference the clicks on
// the window are checked against.

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/DetectionControls.h"

#include <memory>

namespace hostsim_test {

std::unique_ptr<wowfix::hostsim::DetectionControls> commandDetectionControls(wowfix::hostsim::OfflineHost& host);

}  // namespace hostsim_test
