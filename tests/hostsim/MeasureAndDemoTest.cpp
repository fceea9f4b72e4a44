// wowfix-host measure (the meter on a file) and demo (the whole road from a
// generated damaged recording to the corrected one).

#include "HostTestSupport.h"
#include "PilotRecording.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

using hostsim_test::kTwoPi;
using hostsim_test::TempDir;

namespace {

// The first number after `label` on its line, e.g. the damaged column of a
// row of the demo's table; NaN when the label is missing.
double numberAfter(const std::string& text, const std::string& label, int which = 0) {
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return NAN;
    std::istringstream line(text.substr(at + label.size(), text.find('\n', at) - at - label.size()));
    double value = NAN;
    std::string unit;
    for (int i = 0; i <= which; ++i)
        if (!(line >> value >> unit)) return NAN;
    return value;
}

}  // namespace

TEST(Measure, ReportsTheFlutterOfATestTone) {
    TempDir dir;
    hostsim_test::PilotRecording recording;
    recording.frames = 10 * 48000;
    recording.channels = 1;
    recording.pilotAmplitude = 0.0;
    recording.programmeHz = 3150.0;
    const std::string input = dir.file("flutter.wav");
    // 0.2 % peak at 4 Hz about nominal speed.
    hostsim_test::writePilotRecording(input, recording, [](long long n) {
        return 1.0 + 0.002 * std::sin(kTwoPi * 4.0 * static_cast<double>(n) / 48000.0);
    });
    const hostsim_test::CommandResult result =
        hostsim_test::runHostCommand({"measure", input, "--plot", dir.file("plot.png")});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("wow and flutter of '" + input + "'"), std::string::npos) << result.output;
    EXPECT_NEAR(numberAfter(result.output, "unweighted:"), 0.2, 0.01) << result.output;
    // 4 Hz is where the weighting is at its top.
    EXPECT_NEAR(numberAfter(result.output, "weighted:"), 0.2, 0.01) << result.output;
    EXPECT_TRUE(hostsim_test::exists(dir.file("plot.png")));
}

TEST(Measure, FailuresAreTheHostsMessages) {
    TempDir dir;
    const hostsim_test::CommandResult missing = hostsim_test::runHostCommand({"measure", dir.file("none.wav")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output.rfind("wowfix-host: ", 0), 0u) << missing.output;
    const hostsim_test::CommandResult bad = hostsim_test::runHostCommand({"measure", "x.wav", "--tone", "loud"});
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.output.find("--tone"), std::string::npos) << bad.output;
}

TEST(Demo, CorrectsItsDamagedRecordingAndTellsTheFigures) {
    const std::string plugin = hostsim_test::realPlugin();
    if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN is not set";
    TempDir dir;
    const hostsim_test::CommandResult result =
        hostsim_test::runHostCommand({"demo", "--quiet", "--plugin", plugin}, {"TMPDIR=" + dir.path()});
    ASSERT_EQ(result.status, 0) << result.output;
    const std::string& text = result.output;

    // Before and after, for each figure.
    const double weightedBefore = numberAfter(text, "weighted 2-sigma peak (IEC 60386)", 0);
    const double weightedAfter = numberAfter(text, "weighted 2-sigma peak (IEC 60386)", 1);
    const double rmsBefore = numberAfter(text, "unweighted RMS (0.2 to 200 Hz)", 0);
    const double rmsAfter = numberAfter(text, "unweighted RMS (0.2 to 200 Hz)", 1);
    ASSERT_FALSE(std::isnan(weightedAfter)) << text;
    ASSERT_FALSE(std::isnan(rmsAfter)) << text;
    EXPECT_LT(weightedAfter, weightedBefore) << text;
    EXPECT_LT(rmsAfter, 0.5 * rmsBefore) << text;
    for (const char* row : {"unweighted peak", "drift, peak", "speed offset", "RMS error"})
        EXPECT_NE(text.find(row), std::string::npos) << row;

    // The files stay in one new folder in the temporary directory.
    const std::vector<std::string> folders = dir.entries();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_NE(text.find("files in " + dir.file(folders[0])), std::string::npos) << text;
    for (const char* name : {"damaged.wav", "true.pvc", "detected.pvc", "corrected.wav", "spectrogram.png"})
        EXPECT_TRUE(hostsim_test::exists(dir.file(folders[0]) + "/" + name)) << name;
}
