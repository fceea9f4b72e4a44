#include "tasks/SpectralAreaCurve.h"

#include "detectors/SDPvc.h"
#include "pvc/PvcCurve.h"

#include <cmath>
#include <cstdint>

namespace wowfix {

namespace {
float usable(float value) { return std::isfinite(value) && value > 0.0f ? value : 1.0f; }
}  // namespace

void replaceAreaWithResult(PvcCurve& curve, const SDPvc& detector, int areaStart, int areaEnd) {
    const float before = curve.valueAtPosition(areaStart);
    const float after = curve.valueAtPosition(areaEnd);
    curve.deleteRange(areaStart, areaEnd);
    curve.insertPoint(areaStart, before > 0.0f ? before : 1.0f, false);
    for (int i = 0; i < detector.resultCount(); ++i) {
        const std::int64_t at = std::int64_t{areaStart} + detector.resultPosition(i);
        if (at > areaStart && at < areaEnd) curve.insertPoint(static_cast<int>(at), usable(detector.resultValue(i)), false);
    }
    curve.insertPoint(areaEnd, after > 0.0f ? after : 1.0f, false);
}

}  // namespace wowfix
