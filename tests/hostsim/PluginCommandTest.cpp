#include "PluginCommandTest.h"

#include "hostsim/cli/Usage.h"

namespace hostsim_test {

void PluginCommandTest::SetUp() {
    plugin = realPlugin();
    if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN is not set";
}

int PluginCommandTest::run(std::vector<std::string> args) {
    args.push_back("--plugin");
    args.push_back(plugin);
    output.str("");
    messages.str("");
    return wowfix::hostsim::runCommandLine(args, output, messages);
}

}  // namespace hostsim_test
