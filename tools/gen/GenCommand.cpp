#include "tools/gen/GenCommand.h"

#include <cmath>
#include <cstdio>

#include "tools/gen/GenArguments.h"
#include "tools/gen/GenerateFiles.h"

namespace wowfix::gen {

int runGenCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    GenInvocation invocation;
    std::string error;
    if (!parseGenArguments(args, invocation, error)) {
        err << "wowfix-gen: " << error << "\n";
        return 1;
    }
    if (invocation.help) {
        out << genUsage();
        return 0;
    }
    GenerationSummary summary;
    if (!generateFiles(invocation.settings, invocation.targets, summary, error)) {
        err << "wowfix-gen: " << error << "\n";
        return 1;
    }
    char line[256];
    std::snprintf(line, sizeof(line), "%s: %lld frames, %d Hz, %d channel(s), %s %s, peak %.1f dBFS\n",
                  invocation.targets.audioPath.c_str(), static_cast<long long>(summary.frames), summary.sampleRate,
                  summary.channels, summary.container.c_str(), summary.encoding.c_str(),
                  summary.peak > 0.0 ? 20.0 * std::log10(summary.peak) : -INFINITY);
    out << line << invocation.targets.pvcPath << ": true curve, a point every " << invocation.settings.pvcStep
        << " frames\n";
    return 0;
}

}  // namespace wowfix::gen
