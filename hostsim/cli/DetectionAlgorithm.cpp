#include "hostsim/cli/DetectionAlgorithm.h"

#include "host/VendorCommands.h"
#include "hostsim/cli/PluginTask.h"

#include <iterator>

namespace wowfix::hostsim {

namespace {

// The editor's algorithm number of the centre-of-gravity line follower.
constexpr int kCentreOfGravityAlgorithm = 5;

const DetectionAlgorithm kAlgorithms[] = {
    {"pilot", "High-Frequency Pilot Tone Tracking", vendor::kPilotToneAlgorithm, kPilotToneTrackingTask,
     "the pilot-tone tracking", "tracking", 2, false, false},
    {"pilot-precise", "High-Frequency Pilot Tone Tracking, Precise", vendor::kPilotToneAlgorithm,
     kPilotToneTrackingTask, "the precise pilot-tone tracking", "tracking", 2, false, true},
    {"music-precise", "Spectral-Domain PVC Detector, Precise", vendor::kSpectralAlgorithm, kSpectralDetectionTask,
     "the precise partial tracking", "tracking", 2, false, true},
    {"cog", "Centre of Gravity", kCentreOfGravityAlgorithm, kViewAcquisitionTask, "the centre-of-gravity tracking",
     "tracking", 1, true, false},
    {"hum", "Power-Line Hum Frequency Tracking", vendor::kHumAlgorithm, kLibraryDetectionTask, "the hum tracking",
     "tracking", 2, false, false},
    {"spectral", "Spectral-Domain PVC Detector", vendor::kSpectralAlgorithm, kSpectralDetectionTask,
     "the spectral-domain detection", "analysing", 2, false, false},
};

}  // namespace

const DetectionAlgorithm* findAlgorithm(const std::string& name) {
    for (const DetectionAlgorithm& algorithm : kAlgorithms)
        if (name == algorithm.name) return &algorithm;
    return nullptr;
}

std::string algorithmNames() {
    std::string list;
    for (const DetectionAlgorithm& algorithm : kAlgorithms) list += (list.empty() ? "" : ", ") + std::string(algorithm.name);
    return list;
}

}  // namespace wowfix::hostsim
