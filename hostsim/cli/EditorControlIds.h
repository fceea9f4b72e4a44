#pragma once
// The editor window's controls that the host's scripted users click, by the
// identifiers the editor gives them, and the algorithm each entry of its
// selector stands for.

#include <array>
#include <cstddef>

namespace wowfix::hostsim::editor_control {

constexpr int kCreatePvc = 40;
constexpr int kShowHum = 56;
constexpr int kAlgorithmSelector = 72;
constexpr int kImportPvc = 73;
constexpr int kExportPvc = 74;
constexpr int kUndo = 78;
constexpr int kRedo = 79;
constexpr int kPreview = 80;
constexpr int kPrecise = 107;

constexpr std::array<int, 6> kAlgorithmOfEntry{8, 6, 7, 3, 4, 5};

// The selector's entry of algorithm `algorithm`; -1 when it has none.
constexpr int entryOfAlgorithm(int algorithm) {
    for (std::size_t i = 0; i < kAlgorithmOfEntry.size(); ++i)
        if (kAlgorithmOfEntry[i] == algorithm) return static_cast<int>(i);
    return -1;
}

}  // namespace wowfix::hostsim::editor_control
