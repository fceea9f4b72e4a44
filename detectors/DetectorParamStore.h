#pragma once

#include <vector>

namespace wowfix {

class PvcDetector;

// The plug-in's remembered detector settings: seven slots of normalised values,
// one per detector class, kept while the detector objects come and go (an object
// is destroyed whenever the user leaves its algorithm and created again before
// every run). A slot is prepared once, the first time its detector is created,
// and is never resized or released before the store itself. Nothing is written
// to disk.
//
// Every operation checks its slot and index: out of range, or a slot not yet
// prepared, answers false or 0 and changes nothing.
class DetectorParamStore {
public:
    static constexpr int slotCount = 7;
    // Slot assignment; slots 0, 1, 5 and 6 are free.
    static constexpr int sdPvcSlot = 2;
    static constexpr int humLibrarySlot = 3;
    static constexpr int toneTrackerSlot = 4;
    // Largest number of values one slot accepts.
    static constexpr int maxValueCount = 1024;

    DetectorParamStore();

    // Stores value (clamped to 0..1) as value `index` of the slot. Answers false,
    // storing nothing, for a bad slot or index, a slot not prepared, or a value
    // that is not a number.
    bool saveSlot(int slot, int index, float value);

    // The stored value, or 0 under the same conditions.
    float loadSlot(int slot, int index) const;

    // 1 once the slot has been prepared, else 0 (also for a bad slot).
    int isSlotReady(int slot) const;

    // Number of values of a prepared slot, else 0.
    int valueCount(int slot) const;

    // Gives a slot that is not yet ready n zeroed values (1 <= n <= maxValueCount)
    // and marks it ready. A ready slot is never resized: false.
    bool prepareSlot(int slot, int n);

    // Saves every parameter of the detector into its slot, when the slot is
    // ready; done before the detector is destroyed or replaced. Answers whether
    // anything was saved.
    bool rememberParameters(int slot, const PvcDetector& detector);

    // Gives a newly created detector the values remembered in its slot; when the
    // slot is not ready yet, prepares it and saves the detector's defaults there
    // instead. Answers false only for a bad slot.
    bool restoreParameters(int slot, PvcDetector& detector);

private:
    bool isSlot(int slot) const { return slot >= 0 && slot < slotCount; }
    bool isValue(int slot, int index) const;

    std::vector<float> values_[slotCount];
    bool ready_[slotCount];
};

}  // namespace wowfix
