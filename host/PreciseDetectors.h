#pragma once

#include "detectors/PreciseDetector.h"
#include "pvc/tools/EditArea.h"

#include <atomic>
#include <memory>

namespace wowfix {

// The precise detectors that stand in for the pilot-tone tracker and the
// spectral-domain detector when the user asks for precision (the editor's
// "Precise" choice, off by default). Each is made for a sample rate when it
// is first needed, and made again, with the same parameter values, when the
// rate changes; the values live as long as the plug-in object.
class PreciseDetectors {
public:
    static constexpr int kPilotToneAlgorithm = 4;
    static constexpr int kSpectralAlgorithm = 7;

    // The choice is set on the window's (or the vendor command's) thread and
    // read when the host's thread starts a task.
    void setEnabled(bool on) { enabled_.store(on, std::memory_order_relaxed); }
    bool enabled() const { return enabled_.load(std::memory_order_relaxed); }

    // The precise detector of an editor algorithm number at sample rate fs;
    // null for an algorithm without one, a rate that is not positive, or
    // when it cannot be made.
    PreciseDetector* forAlgorithm(int algorithm, double fs);
    // The partial tracker for a spectral-domain run at fs, limited to the
    // processing area when one is marked (the whole run otherwise).
    PreciseDetector* forSpectralRun(double fs, const EditArea& area);

private:
    std::atomic<bool> enabled_{false};
    std::unique_ptr<PreciseDetector> pilot_;
    double pilotRate_ = 0.0;
    std::unique_ptr<PreciseDetector> partials_;
    double partialsRate_ = 0.0;
};

}  // namespace wowfix
