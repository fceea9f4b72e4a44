#pragma once
// Opening the plug-in's editor window the way a host does: its size first,
// a parent of that size, then effEditOpen.

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/EditorParent.h"

#include <string>

namespace wowfix::hostsim {

// Opens the editor in `parent` (made here) and gives it its first messages.
// False with `error` set when the plug-in has no editor or no window can be
// made for it.
bool openEditorWindow(OfflineHost& host, EditorParent& parent, std::string& error);

}  // namespace wowfix::hostsim
