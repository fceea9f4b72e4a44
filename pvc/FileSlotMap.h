#pragma once

#include <array>
#include <cstdint>

namespace wowfix {

// Maps the host's audio-file ids, which can be any 32-bit number, onto the 16
// file slots that index the editor's undo histories and name the snapshot
// files. A slot is only ever a number from 0 to slotCount - 1.
class FileSlotMap {
public:
    static constexpr int slotCount = 16;

    // The slot of `uniqueId`: the one it already holds, else a free one, else
    // the slot used least recently, which then changes hands: `reused` is set
    // so that the caller clears that slot's history and snapshots first.
    int slotOf(std::int32_t uniqueId, bool* reused = nullptr);
    // The slot of `uniqueId` without assigning one; -1 when it has none.
    int find(std::int32_t uniqueId) const;
    void release(std::int32_t uniqueId);
    void clear();

private:
    struct Entry {
        std::int32_t id = 0;
        bool used = false;
        std::uint64_t lastUse = 0;
    };
    std::array<Entry, slotCount> entries_{};
    std::uint64_t clock_ = 0;
};

}  // namespace wowfix
