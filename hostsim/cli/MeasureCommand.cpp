#include "hostsim/cli/MeasureCommand.h"

#include "tools/meter/MeasureCommand.h"

#include <sstream>

namespace wowfix::hostsim {

int runMeasure(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // The meter names itself "measure" in its messages; here they are the
    // host's like every other.
    std::ostringstream messages;
    const int status = meter::runMeasureCommand(args, out, messages);
    std::istringstream lines(messages.str());
    const std::string own = "measure: ";
    for (std::string line; std::getline(lines, line);)
        err << "wowfix-host: " << (line.compare(0, own.size(), own) == 0 ? line.substr(own.size()) : line) << "\n";
    return status;
}

}  // namespace wowfix::hostsim
