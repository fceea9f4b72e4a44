#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

void printUsage(std::ostream& out);

// Parses and runs one command line (the arguments after the program name);
// answers the exit status.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wowfix::hostsim
