#pragma once

#include <string>
#include <string_view>

namespace wowfix {

// The folders that hold the undo snapshots.
//
// The base folder is per user: $WOWFIX_TEMP when set; on Windows %TEMP%\wowfix;
// elsewhere $XDG_RUNTIME_DIR/wowfix, else $TMPDIR/wowfix-<user>, else
// /tmp/wowfix-<user>. Every plug-in instance works in a sub-folder of its own,
// so that instances side by side never touch each other's snapshots.
class TempFolder {
public:
    // The base folder for this user, from the environment (no disk access).
    static std::string defaultBase();

    // Creates `folder` and every missing parent, one level at a time. Answers
    // whether `folder` is a directory afterwards.
    static bool createLevels(const std::string& folder);

    // Creates a new, empty sub-folder of `base` (made first when missing) for
    // one plug-in instance and answers its path in `folder`. Answers false,
    // with `folder` empty, when no folder could be made.
    static bool createInstanceFolder(const std::string& base, std::string& folder);

    // Reduces text from the host (an audio file's name or path) to one plain
    // file name: only the part after the last separator, with control
    // characters, separators and characters that file systems reject replaced
    // by '_', without leading or trailing dots and spaces, at most 120 bytes.
    // Never answers an empty name, "." or "..".
    static std::string safeName(std::string_view hostText);

    // The text shown when the snapshot folder cannot be made.
    static std::string unavailableMessage(const std::string& folder);
};

}  // namespace wowfix
