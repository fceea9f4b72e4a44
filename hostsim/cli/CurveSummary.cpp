#include "hostsim/cli/CurveSummary.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace wowfix::hostsim {

bool summariseCurveFile(const std::string& path, CurveSummary& summary) {
    std::ifstream in(path);
    if (!in) return false;
    summary = CurveSummary{};
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        long long position = 0;
        double value = 0.0;
        if (!(fields >> position >> value)) continue;
        if (summary.points == 0 || value < summary.lowest) summary.lowest = value;
        if (summary.points == 0 || value > summary.highest) summary.highest = value;
        ++summary.points;
    }
    return summary.points > 0;
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
