#include "pvc/FileSlotMap.h"

namespace wowfix {

int FileSlotMap::find(std::int32_t uniqueId) const
{
    for (int slot = 0; slot < slotCount; ++slot) {
        const Entry& e = entries_[static_cast<std::size_t>(slot)];
        if (e.used && e.id == uniqueId)
            return slot;
    }
    return -1;
}

int FileSlotMap::slotOf(std::int32_t uniqueId, bool* reused)
{
    if (reused != nullptr)
        *reused = false;
    int slot = find(uniqueId);
    if (slot < 0) {
        // A free slot, or else the one left unused the longest.
        int oldest = 0;
        for (int s = 0; s < slotCount; ++s) {
            const Entry& e = entries_[static_cast<std::size_t>(s)];
            if (!e.used) {
                slot = s;
                break;
            }
            if (e.lastUse < entries_[static_cast<std::size_t>(oldest)].lastUse)
                oldest = s;
        }
        if (slot < 0) {
            slot = oldest;
            if (reused != nullptr)
                *reused = true;
        }
        Entry& e = entries_[static_cast<std::size_t>(slot)];
        e.id = uniqueId;
        e.used = true;
    }
    entries_[static_cast<std::size_t>(slot)].lastUse = ++clock_;
    return slot;
}

void FileSlotMap::release(std::int32_t uniqueId)
{
    const int slot = find(uniqueId);
    if (slot >= 0)
        entries_[static_cast<std::size_t>(slot)] = Entry{};
}

void FileSlotMap::clear()
{
    entries_.fill(Entry{});
    clock_ = 0;
}

}  // namespace wowfix
