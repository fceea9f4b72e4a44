#pragma once
// What a .pvc file holds, in brief, for the commands' closing line.

#include <ostream>
#include <string>

namespace wowfix::hostsim {

struct CurveSummary {
    long long points = 0;
    double lowest = 0.0;
    double highest = 0.0;
};

// Reads the "position value" lines of `path`; false when it cannot be read
// or holds no point.
bool summariseCurveFile(const std::string& path, CurveSummary& summary);

// "153 points, speed 0.99712 ... 1.00381"
std::string describeCurve(const CurveSummary& summary);

// The closing line of a command that wrote the curve file `path`.
void tellCurveWritten(const std::string& path, std::ostream& err);

}  // namespace wowfix::hostsim
