#pragma once

#include <string>

namespace wowfix {

// The layer's own file dialog on an X11 display: a path field over a list of
// the directory's entries. Typing edits the path; Up and Down pick an entry,
// Tab copies it into the path; Return opens a directory or accepts a file;
// Escape cancels. A click picks an entry, a click on the picked one opens
// it. Runs its own event loop until the user is done.
bool runX11FileDialog(const char* title, bool save, std::string& path);

}  // namespace wowfix
