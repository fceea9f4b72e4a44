#include "host/PreciseDetectors.h"

#include "detectors/PrecisePartialTracker.h"
#include "detectors/PrecisePilotTracker.h"

#include <cmath>
#include <new>

namespace wowfix {

namespace {

// A new detector for the rate, carrying over the old one's values.
template <typename Detector>
PreciseDetector* remake(std::unique_ptr<PreciseDetector>& slot, double& slotRate, double fs) {
    if (slot != nullptr && slotRate == fs) return slot.get();
    std::unique_ptr<PreciseDetector> made(new (std::nothrow) Detector(fs));
    if (made == nullptr) return nullptr;
    if (slot != nullptr)
        for (int i = 0; i < slot->getNumParams(); ++i) made->setParameter(i, slot->getParameter(i));
    slot = std::move(made);
    slotRate = fs;
    return slot.get();
}

}  // namespace

PreciseDetector* PreciseDetectors::forAlgorithm(int algorithm, double fs) {
    if (!(fs > 0.0) || !std::isfinite(fs)) return nullptr;
    switch (algorithm) {
        case kPilotToneAlgorithm:
            return remake<PrecisePilotTracker>(pilot_, pilotRate_, fs);
        case kSpectralAlgorithm:
            return remake<PrecisePartialTracker>(partials_, partialsRate_, fs);
        default:
            return nullptr;
    }
}

PreciseDetector* PreciseDetectors::forSpectralRun(double fs, const EditArea& area) {
    auto* tracker = static_cast<PrecisePartialTracker*>(forAlgorithm(kSpectralAlgorithm, fs));
    if (tracker == nullptr) return nullptr;
    if (area.selected)
        tracker->setArea(area.start, area.end, area.lowFrequency, area.highFrequency);
    else
        tracker->setArea(0.0, 0.0);
    return tracker;
}

}  // namespace wowfix
