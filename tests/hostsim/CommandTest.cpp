// The wowfix-host command as a user runs it: exit status, messages, files.
// These runs use the probe plug-in, so they need no real one.

#include "HostTestSupport.h"
#include "probe/ProbeProtocol.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

using hostsim_test::runHostCommand;
using hostsim_test::TempDir;

namespace {

float tone(long long frame, int channel) {
    return 0.5f * static_cast<float>(std::sin(0.01 * static_cast<double>(frame) * (channel + 1)));
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string scenario(int which) { return "HOSTSIM_PROBE_SCENARIO=" + std::to_string(which); }

class HostCommand : public ::testing::Test {
protected:
    void SetUp() override {
        input = dir.file("in.wav");
        curve = dir.file("c.pvc");
        hostsim_test::writeAudio(input, 2, 44100, 5000, tone);
        hostsim_test::writeFlatCurve(curve, 5000, 1.0);
    }

    hostsim_test::CommandResult correct(const std::string& output, std::vector<std::string> extra = {},
                                        int probeScenario = probe::kCopy) {
        std::vector<std::string> args = {"correct", input, output, "--pvc", curve, "--plugin", HOSTSIM_PROBE_PLUGIN};
        args.insert(args.end(), extra.begin(), extra.end());
        return runHostCommand(args, {scenario(probeScenario)});
    }

    TempDir dir;
    std::string input;
    std::string curve;
};

}  // namespace

TEST_F(HostCommand, HelpPrintsTheUsage) {
    const auto result = runHostCommand({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(contains(result.output, "wowfix-host correct INPUT OUTPUT --pvc CURVE.pvc"));
    EXPECT_TRUE(contains(result.output, "wowfix-host spectrogram INPUT OUTPUT.png"));
    EXPECT_TRUE(contains(result.output, "red =\n             loudest"));
    EXPECT_TRUE(contains(result.output, "wowfix-host screenshot INPUT OUT.png"));
}

TEST_F(HostCommand, BadCommandLinesExitWithTwoAndOneLine) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"correct", input, "out.wav"}, {"correct", input, "o.wav", "--pvc", curve,
                                                                        "--block", "0"},
          {"correct", input, "o.wav", "--pvc", curve, "--selection", "9:3"}}) {
        const auto result = runHostCommand(args);
        EXPECT_EQ(result.status, 2) << result.output;
        EXPECT_EQ(result.output.rfind("wowfix-host: ", 0), 0u) << result.output;
        EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;
    }
}

TEST_F(HostCommand, CopiesThroughThePlugInIntoTheInputsContainer) {
    const std::string output = dir.file("out.wav");
    const auto result = correct(output, {"--quiet"});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(result.output.empty()) << "--quiet: " << result.output;
    const hostsim_test::Audio in = hostsim_test::readAudio(input);
    const hostsim_test::Audio out = hostsim_test::readAudio(output);
    EXPECT_EQ(out.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.samples, in.samples);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"c.pvc", "in.wav", "out.wav"}));
}

TEST_F(HostCommand, ShowsProgressAndASummary) {
    const auto result = correct(dir.file("out.wav"), {"--block", "500"});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "] 100%\n"));
    EXPECT_TRUE(contains(result.output, " 50%")) << "ten reads: every tenth is shown";
    EXPECT_TRUE(contains(result.output, "5000 frames, 2 channels, 44100 Hz"));
}

TEST_F(HostCommand, FormatOptionChoosesTheContainer) {
    const std::string aiff = dir.file("out.aiff");
    ASSERT_EQ(correct(aiff, {"--format", "aiff", "--quiet"}).status, 0);
    EXPECT_EQ(hostsim_test::readAudio(aiff).format, SF_FORMAT_AIFF | SF_FORMAT_FLOAT);

    const std::string flac = dir.file("out.flac");
    const auto result = correct(flac, {"--format", "flac"});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "flac holds no 32-bit float; writing 24-bit integer"));
    const hostsim_test::Audio audio = hostsim_test::readAudio(flac);
    EXPECT_EQ(audio.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_NEAR(audio.at(1234, 1), hostsim_test::readAudio(input).at(1234, 1), 1e-6);

    const auto unknown = correct(dir.file("out.xyz"), {"--format", "xyz"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(contains(unknown.output, "unknown format 'xyz' (known: ")) << unknown.output;
}

TEST_F(HostCommand, ExtensibleWavInputGivesExtensibleWavOutput) {
    const std::string extensible = dir.file("ext.wav");
    hostsim_test::writeAudio(extensible, 2, 44100, 3000, tone, SF_FORMAT_WAVEX | SF_FORMAT_FLOAT);
    input = extensible;
    ASSERT_EQ(correct(dir.file("out.wav"), {"--quiet"}).status, 0);
    EXPECT_EQ(hostsim_test::readAudio(dir.file("out.wav")).format, SF_FORMAT_WAVEX | SF_FORMAT_FLOAT);
}

TEST_F(HostCommand, MissingOrUnreadableInputIsNamed) {
    const auto missing =
        runHostCommand({"correct", dir.file("nope.wav"), dir.file("o.wav"), "--pvc", curve, "--plugin",
                        HOSTSIM_PROBE_PLUGIN});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output.rfind("wowfix-host: cannot open '" + dir.file("nope.wav") + "': ", 0), 0u)
        << missing.output;
    hostsim_test::writeText(dir.file("text.wav"), "hello");
    const auto text = runHostCommand({"correct", dir.file("text.wav"), dir.file("o.wav"), "--pvc", curve});
    EXPECT_EQ(text.status, 1);
    EXPECT_TRUE(contains(text.output, "cannot open '" + dir.file("text.wav") + "'"));
    EXPECT_FALSE(hostsim_test::exists(dir.file("o.wav")));
}

TEST_F(HostCommand, SelectionPastTheEndIsRefused) {
    const auto result = correct(dir.file("o.wav"), {"--selection", "100:5001"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.output, "bad selection 100:5001")) << result.output;
    EXPECT_TRUE(contains(result.output, "5000 frames"));
}

TEST_F(HostCommand, UnloadablePlugInIsNamed) {
    const auto result = runHostCommand({"correct", input, dir.file("o.wav"), "--pvc", curve, "--plugin",
                                        HOSTSIM_NO_ENTRY_PLUGIN});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.output, "cannot load plug-in '" HOSTSIM_NO_ENTRY_PLUGIN "'")) << result.output;
    const auto info = runHostCommand({"info", "--plugin", dir.file("none.so")});
    EXPECT_EQ(info.status, 1);
    EXPECT_TRUE(contains(info.output, "cannot load plug-in")) << info.output;
}

TEST_F(HostCommand, TheInputIsNeverTheOutputUnderAnyName) {
    const std::string before = hostsim_test::readBytes(input);
    ASSERT_EQ(link(input.c_str(), dir.file("hard.wav").c_str()), 0);
    ASSERT_EQ(symlink(input.c_str(), dir.file("soft.wav").c_str()), 0);
    for (const std::string& alias : {input, dir.path() + "/./in.wav", dir.file("hard.wav"), dir.file("soft.wav")}) {
        const auto result = correct(alias);
        EXPECT_EQ(result.status, 1) << alias;
        EXPECT_TRUE(contains(result.output, "is the input file")) << result.output;
    }
    EXPECT_EQ(hostsim_test::readBytes(input), before);
    const auto picture = runHostCommand({"spectrogram", input, dir.file("soft.wav")});
    EXPECT_EQ(picture.status, 1);
    EXPECT_EQ(hostsim_test::readBytes(input), before);
}

TEST_F(HostCommand, AFailedRunLeavesAnExistingOutputAndNoLitter) {
    const std::string output = dir.file("out.wav");
    hostsim_test::writeText(output, "the old output");
    for (int failing : {probe::kFailMidway, probe::kRefusePrepare, probe::kOversizedWrite}) {
        // Blocks smaller than the file, so that the run can fail halfway.
        const auto result = correct(output, {"--block", "1000"}, failing);
        EXPECT_EQ(result.status, 1) << failing;
        EXPECT_TRUE(contains(result.output, "wowfix-host: ")) << result.output;
        EXPECT_EQ(hostsim_test::readBytes(output), "the old output") << failing;
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"c.pvc", "in.wav", "out.wav"})) << failing;
    }
}

TEST_F(HostCommand, InfoDescribesAnyPlugIn) {
    const auto result = runHostCommand({"info", "--plugin", HOSTSIM_PROBE_PLUGIN});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "unique id:   0x50726F62 'Prob'"));
    EXPECT_TRUE(contains(result.output, "name:        Probe"));
    EXPECT_TRUE(contains(result.output, "  offline: yes"));
}
