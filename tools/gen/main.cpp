// wowfix-gen: writes a recording damaged by wow and flutter, and the true
// curve of its damage.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/gen/GenCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        return wowfix::gen::runGenCommand(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "wowfix-gen: " << e.what() << "\n";
    }
    return 1;
}
