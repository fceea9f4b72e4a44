// wowfix-host: the substitute offline host as a command.

#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/Usage.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        return wowfix::hostsim::runCommandLine(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "wowfix-host: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "wowfix-host: unexpected failure\n";
    }
    return wowfix::hostsim::kExitFailure;
}
