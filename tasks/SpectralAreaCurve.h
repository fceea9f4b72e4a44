#pragma once

namespace wowfix {

class PvcCurve;
class SDPvc;

// Writes the spectral-domain detector's result into the curve over the
// area [areaStart, areaEnd] (samples of the file) and keeps the curve outside
// it: the points inside are replaced by one point per analysed frame, at the
// area start plus the frame's position, and the curve's former values at the
// two edges stay on the edges, so that nothing outside the area moves.
// Values that are not finite and positive are written as 1.0.
void replaceAreaWithResult(PvcCurve& curve, const SDPvc& detector, int areaStart, int areaEnd);

}  // namespace wowfix
