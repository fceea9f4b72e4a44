#include "hostsim/cli/CurveSummary.h"

#include "hostsim/cli/CurvePoints.h"

#include <algorithm>
#include <cstdio>

namespace wowfix::hostsim {

bool summariseCurveFile(const std::string& path, CurveSummary& summary) {
    std::vector<CurvePoint> points;
    if (!readCurvePoints(path, points) || points.empty()) return false;
    summary = CurveSummary{};
    summary.points = static_cast<long long>(points.size());
    summary.lowest = summary.highest = points.front().value;
    for (const CurvePoint& point : points) {
        summary.lowest = std::min(summary.lowest, point.value);
        summary.highest = std::max(summary.highest, point.value);
    }
    return true;
}

std::string describeCurve(const CurveSummary& summary) {
    char text[96];
    std::snprintf(text, sizeof text, "%lld point%s, speed %.5f ... %.5f", summary.points,
                  summary.points == 1 ? "" : "s", summary.lowest, summary.highest);
    return text;
}

void tellCurveWritten(const std::string& path, std::ostream& err) {
    CurveSummary summary;
    err << "wowfix-host: wrote '" << path << "'";
    if (summariseCurveFile(path, summary)) err << ": " << describeCurve(summary);
    err << "\n";
}

}  // namespace wowfix::hostsim
