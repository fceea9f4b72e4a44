#include "hostsim/cli/DetectionControls.h"

#include "hostsim/cli/EditorParent.h"

namespace wowfix::hostsim {

std::unique_ptr<DetectionControls> openDetectionControls(OfflineHost& host, std::string& error) {
    if (EditorParent::takesScriptedActions()) return openEditorDetectionControls(host, error);
    return vendorDetectionControls(host);
}

}  // namespace wowfix::hostsim
