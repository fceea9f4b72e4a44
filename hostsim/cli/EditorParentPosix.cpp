#include "hostsim/cli/EditorParent.h"

namespace wowfix::hostsim {

// The editor opens headless in the software layer: no window to make and no
// messages to pump.
EditorParent::~EditorParent() = default;

bool EditorParent::create(int, int, std::string&) { return true; }

void EditorParent::pump(OfflineHost&) {}

}  // namespace wowfix::hostsim
