// wowfix-host detect and auto --algorithm cog through the real plug-in: the
// centre-of-gravity tool dragged along the tone of a generated recording
// with known wow finds a curve that removes the wow; the command line
// refuses lines that do not fit.

#include "PluginCommandTest.h"

#include "hostsim/cli/Usage.h"
#include "tools/gen/GenCommand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

class LineFollowing : public hostsim_test::PluginCommandTest {
protected:
    void SetUp() override {
        PluginCommandTest::SetUp();
        if (IsSkipped()) return;
        input = dir.file("tone.wav");
        std::ostringstream out, err;
        ASSERT_EQ(wowfix::gen::runGenCommand({input, "--pvc", dir.file("true.pvc"), "--programme", "sine:1000", "--wow", "0.3@0.5",
                                              "--channels", "1", "--seconds", "8"},
                                             out, err),
                  0)
            << err.str();
    }

    // The weighted 2-sigma figure of the meter for the 1 kHz tone of `path`.
    double weightedFlutter(const std::string& path) {
        std::ostringstream out, err;
        if (wowfix::hostsim::runCommandLine({"measure", path, "--tone", "1000"}, out, err) != 0) return NAN;
        const std::string text = "\n" + out.str() + err.str();
        const std::size_t at = text.find("\nweighted:");
        return at == std::string::npos ? NAN : std::atof(text.c_str() + at + 10);
    }

    std::string input;
};

TEST_F(LineFollowing, AutoCorrectsTheWow) {
    const std::string fixed = dir.file("fixed.wav");
    const std::string curve = dir.file("cog.pvc");
    ASSERT_EQ(run({"auto", input, fixed, "--algorithm", "cog", "--line", "0:1000:8", "--pvc-out", curve, "--quiet"}),
              0)
        << messages.str();
    // The same drag through detect writes the same curve.
    const std::string detected = dir.file("detected.pvc");
    ASSERT_EQ(run({"detect", input, "--algorithm", "cog", "--line", "0:1000:8", "--pvc", detected, "--quiet"}), 0);
    std::ifstream a(curve), b(detected);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), std::string(std::istreambuf_iterator<char>(b), {}));
    const double before = weightedFlutter(input);
    const double after = weightedFlutter(fixed);
    ASSERT_FALSE(std::isnan(before));
    EXPECT_LT(after, 0.05);
    EXPECT_LT(after, before * 0.7);
}

TEST_F(LineFollowing, RefusesLinesThatDoNotFit) {
    const std::string curve = dir.file("cog.pvc");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"detect", input, "--algorithm", "cog", "--pvc", curve}, 2, "needs the line"},
        {{"detect", input, "--algorithm", "pilot", "--line", "0:1000:2", "--pvc", curve}, 2, "--line is for"},
        {{"detect", input, "--algorithm", "cog", "--line", "0:1000", "--pvc", curve}, 2, "START:FREQ:END"},
        {{"detect", input, "--algorithm", "cog", "--line", "3:1000:2", "--pvc", curve}, 2, "START < END"},
        {{"detect", input, "--algorithm", "cog", "--line", "1:-5:2", "--pvc", curve}, 2, "above 0 Hz"},
        {{"detect", input, "--algorithm", "cog", "--line", "5:1000:20", "--pvc", curve}, 1, "outside the file"},
        {{"detect", input, "--algorithm", "cog", "--line", "1:30000:2", "--pvc", curve}, 1, "half the sample rate"},
        {{"auto", input, dir.file("x.wav"), "--algorithm", "cog", "--line", "1:5000:2"}, 1, "no tonal line"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.message;
        EXPECT_NE(messages.str().find(c.message), std::string::npos) << messages.str();
    }
    EXPECT_FALSE(std::ifstream(curve).good()) << "nothing is written after a refusal";
    EXPECT_FALSE(std::ifstream(dir.file("x.wav")).good());
}

}  // namespace
