#pragma once

#include <cstdint>
#include <vector>

namespace wowfix {

// Which of the host's audio files is open in the editor, and for every file
// the host reports, how many undo snapshots its curve had when the user left
// it, so that coming back to a file finds its curve again.
class OpenFileRegistry {
public:
    // True for any id while no file is open, so that a host whose first
    // file has the id 0 still gets it opened.
    bool isOtherFile(std::int32_t id) const { return !fileOpen_ || id != openFileId; }
    // Makes `id` the open file.
    void setOpenFile(std::int32_t id) {
        openFileId = id;
        fileOpen_ = true;
    }
    bool hasOpenFile() const { return fileOpen_; }
    // A new number of reported files: the ids are reset to zeros.
    bool setFileCount(int n);
    void setFileId(int i, std::int32_t id);
    void rememberSnapshotCount(std::int32_t id, int n);
    int snapshotCountOf(std::int32_t id) const;
    // Rebuilds the (id, count) table for the reported ids, keeping the count
    // of every file still reported; a newly reported file starts at 0.
    void rebuildFileTable();
    // Every file's remembered count becomes 0 (its snapshots are gone).
    void forgetSnapshotCounts();
    // Forgets every file.
    void clear();

    std::int32_t openFileId = 0;
    int knownFileCount() const { return static_cast<int>(knownFileIds_.size()); }
    int previousFileCount() const { return previousFileCount_; }
    std::int32_t knownFileId(int i) const;

private:
    struct Entry {
        std::int32_t id = 0;
        int snapshots = 0;
    };
    std::vector<std::int32_t> knownFileIds_;
    std::vector<Entry> fileTable_;
    int previousFileCount_ = 0;
    bool fileOpen_ = false;
};

}  // namespace wowfix
