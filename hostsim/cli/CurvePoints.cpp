#include "hostsim/cli/CurvePoints.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace wowfix::hostsim {

bool readCurvePoints(const std::string& path, std::vector<CurvePoint>& points) {
    std::ifstream in(path);
    if (!in) return false;
    points.clear();
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        long long position = 0;
        double value = 0.0;
        if (fields >> position >> value) points.push_back(CurvePoint{position, value});
    }
    return true;
}

double curveValueAt(const std::vector<CurvePoint>& points, std::int64_t frame) {
    if (points.empty()) return NAN;
    if (frame <= points.front().position) return points.front().value;
    if (frame >= points.back().position) return points.back().value;
    const auto right = std::lower_bound(points.begin(), points.end(), frame,
                                        [](const CurvePoint& p, std::int64_t f) { return p.position < f; });
    const CurvePoint& r = *right;
    const CurvePoint& l = *(right - 1);
    if (r.position == frame) return r.value;
    const double t = static_cast<double>(frame - l.position) / static_cast<double>(r.position - l.position);
    return l.value + t * (r.value - l.value);
}

CurveDifference compareCurves(const std::vector<CurvePoint>& a, const std::vector<CurvePoint>& b,
                              std::int64_t frames) {
    CurveDifference d;
    if (frames < 1 || a.empty() || b.empty()) return CurveDifference{NAN, NAN, NAN};
    double sum = 0.0;
    double squares = 0.0;
    for (std::int64_t n = 0; n < frames; ++n) {
        const double e = curveValueAt(a, n) - curveValueAt(b, n);
        sum += e;
        squares += e * e;
        d.largest = std::max(d.largest, std::fabs(e));
    }
    d.mean = sum / static_cast<double>(frames);
    d.rms = std::sqrt(squares / static_cast<double>(frames));
    return d;
}

}  // namespace wowfix::hostsim
