#include "host/OpenFileRegistry.h"

#include <algorithm>

namespace wowfix {

bool OpenFileRegistry::setFileCount(int n) {
    n = std::max(n, 0);
    if (n != knownFileCount()) knownFileIds_.assign(static_cast<size_t>(n), 0);
    return true;
}

void OpenFileRegistry::setFileId(int i, std::int32_t id) {
    if (i >= 0 && i < knownFileCount()) knownFileIds_[static_cast<size_t>(i)] = id;
}

std::int32_t OpenFileRegistry::knownFileId(int i) const {
    return i >= 0 && i < knownFileCount() ? knownFileIds_[static_cast<size_t>(i)] : 0;
}

void OpenFileRegistry::rememberSnapshotCount(std::int32_t id, int n) {
    for (Entry& e : fileTable_)
        if (e.id == id) {
            e.snapshots = std::max(n, 0);
            return;
        }
}

int OpenFileRegistry::snapshotCountOf(std::int32_t id) const {
    for (const Entry& e : fileTable_)
        if (e.id == id) return e.snapshots;
    return 0;
}

void OpenFileRegistry::rebuildFileTable() {
    const size_t n = knownFileIds_.size();
    std::vector<Entry> table(n);
    std::vector<bool> filled(n, false);
    if (previousFileCount_ >= 1) {
        for (const Entry& old : fileTable_) {
            const auto at = std::find(knownFileIds_.begin(), knownFileIds_.end(), old.id);
            if (at == knownFileIds_.end()) continue;
            const size_t i = static_cast<size_t>(at - knownFileIds_.begin());
            table[i] = old;
            filled[i] = true;
        }
    }
    // Every reported file without a kept entry starts with no snapshots; when
    // the host adds several files at once, each of them gets its entry.
    for (size_t i = 0; i < n; ++i)
        if (!filled[i]) table[i] = Entry{knownFileIds_[i], 0};
    fileTable_ = std::move(table);
    previousFileCount_ = static_cast<int>(n);
}

void OpenFileRegistry::forgetSnapshotCounts() {
    for (Entry& e : fileTable_) e.snapshots = 0;
}

void OpenFileRegistry::clear() {
    fileTable_.clear();
    knownFileIds_.clear();
    openFileId = 0;
    fileOpen_ = false;
    previousFileCount_ = 0;
}

}  // namespace wowfix
