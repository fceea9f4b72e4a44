#pragma once
// The audio files the host holds in a session with a user: those the user
// opened and the corrected files the plug-in made, each with the unique id
// the plug-in knows it by. A corrected file waits in a temporary file until
// the user saves it under a name of their own.

#include "sdk/VstTypes.h"

#include <string>
#include <vector>

namespace wowfix::hostsim {

struct HeldFile {
    std::string path;  // where the audio is now
    std::string name;  // what the host calls it
    VstInt32 id = 0;
    bool temporary = false;  // a corrected file not yet saved by the user
};

class HeldFiles {
public:
    HeldFiles() = default;
    ~HeldFiles();  // removes the temporary files
    HeldFiles(const HeldFiles&) = delete;
    HeldFiles& operator=(const HeldFiles&) = delete;

    // Adds a file and answers its index; ids start at 1 and are never reused.
    int add(const std::string& path, const std::string& name, bool temporary);
    // A fresh path in the system's temporary folder for a corrected file.
    std::string temporaryPath();
    // Copies file `index` to `target`, replacing it only when the copy is
    // complete; a temporary file becomes the saved one. False with `error`.
    bool saveAs(int index, const std::string& target, std::string& error);
    const std::vector<HeldFile>& files() const { return files_; }
    int count() const { return static_cast<int>(files_.size()); }
    const HeldFile* at(int index) const;

private:
    std::vector<HeldFile> files_;
    VstInt32 nextId_ = 1;
    int temporaries_ = 0;
};

}  // namespace wowfix::hostsim
