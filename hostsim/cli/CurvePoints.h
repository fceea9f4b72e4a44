#pragma once
// A .pvc file read back as points, and the curve they describe: straight
// lines between the points, held beyond the first and the last.

#include <cstdint>
#include <string>
#include <vector>

namespace wowfix::hostsim {

struct CurvePoint {
    std::int64_t position = 0;
    double value = 0.0;
};

// The "position value" lines of `path` (other lines are skipped). False when
// the file cannot be read.
bool readCurvePoints(const std::string& path, std::vector<CurvePoint>& points);

// The curve at `frame`; points must be in ascending position. NaN for none.
double curveValueAt(const std::vector<CurvePoint>& points, std::int64_t frame);

struct CurveDifference {
    double rms = 0.0;      // of a − b
    double largest = 0.0;  // of |a − b|
    double mean = 0.0;     // of a − b: the constant part
};

// `a` − `b` at every frame 0 ... frames − 1.
CurveDifference compareCurves(const std::vector<CurvePoint>& a, const std::vector<CurvePoint>& b,
                              std::int64_t frames);

}  // namespace wowfix::hostsim
