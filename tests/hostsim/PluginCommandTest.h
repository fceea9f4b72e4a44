#pragma once
// The set-up of the tests that run wowfix-host's commands in-process through
// the real plug-in: the one WOWFIX_PLUGIN names (a test is skipped without
// it), a fresh folder, and what the commands write.

#include "HostTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace hostsim_test {

class PluginCommandTest : public ::testing::Test {
protected:
    // A fixture with set-up of its own calls this first and stops when
    // IsSkipped().
    void SetUp() override;

    // Runs the command line `args` with "--plugin" and the plug-in after
    // them; answers the exit status. What it prints replaces `output`, its
    // messages replace `messages`.
    int run(std::vector<std::string> args);

    std::string plugin;
    std::ostringstream output;
    std::ostringstream messages;
    TempDir dir;
};

}  // namespace hostsim_test
