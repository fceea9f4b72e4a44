// wowfix-host script: the script's lines read into steps, and the command
// through the real plug-in: what a bad line or a failed step leaves behind,
// process into a new file, wait and the window's picture.

#include "HostTestSupport.h"

#include "hostsim/cli/EditorScript.h"
#include "hostsim/cli/Usage.h"
#include "tests/support/RgbPng.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using wowfix::hostsim::ScriptStep;
using wowfix::hostsim::ScriptStepKind;

namespace {

constexpr double kPi = 3.141592653589793;
// The resampler's window weighs its centre tap 0.5 (1 - cos(16 pi / 17)), so a
// flat curve copies every frame scaled by it.
const double kCentreWeight = 0.5 * (1.0 - std::cos(16.0 * kPi / 17.0));

TEST(EditorScriptText, ReadsStepsWithTheirLinesAndSkipsCommentsAndBlankLines) {
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(wowfix::hostsim::parseEditorScript("# the pilot road\n"
                                                   "click 72=4\r\n"
                                                   "\n"
                                                   "   drag 300,120 300,90  \n"
                                                   "export /tmp/my curve.pvc\n"
                                                   "import in.pvc\n"
                                                   "undo\nredo\nwait\n"
                                                   "process out put.wav\n"
                                                   "screenshot a b.png --panel\n"
                                                   "screenshot c.png",
                                                   steps, error))
        << error;
    ASSERT_EQ(steps.size(), 10u);
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[0].kind, ScriptStepKind::Actions);
    ASSERT_EQ(steps[0].actions.size(), 1u);
    EXPECT_EQ(steps[0].actions[0].action.id, 72);
    EXPECT_EQ(steps[0].actions[0].action.item, 4);
    EXPECT_EQ(steps[1].line, 4);
    EXPECT_EQ(steps[1].text, "drag 300,120 300,90");
    EXPECT_EQ(steps[1].actions[0].action.y2, 90);
    // The curve buttons: the dialog's answer first, then the button.
    ASSERT_EQ(steps[2].kind, ScriptStepKind::Export);
    ASSERT_EQ(steps[2].actions.size(), 2u);
    EXPECT_EQ(steps[2].actions[0].action.kind, wowfix::vendor::kAnswerDialog);
    EXPECT_EQ(steps[2].actions[0].path, "/tmp/my curve.pvc");
    EXPECT_EQ(steps[2].actions[1].action.id, 74);
    EXPECT_EQ(steps[3].actions[1].action.id, 73);
    EXPECT_EQ(steps[4].actions[0].action.id, 78);
    EXPECT_EQ(steps[5].actions[0].action.id, 79);
    EXPECT_EQ(steps[6].kind, ScriptStepKind::Wait);
    EXPECT_EQ(steps[7].kind, ScriptStepKind::Process);
    EXPECT_EQ(steps[7].path, "out put.wav");
    EXPECT_EQ(steps[8].path, "a b.png");
    EXPECT_TRUE(steps[8].panelOnly);
    EXPECT_EQ(steps[9].path, "c.png");
    EXPECT_FALSE(steps[9].panelOnly);
}

TEST(EditorScriptText, ABadLineIsNamedByNumberAndTextAndNoStepIsKept) {
    const char* bad[] = {"poke 3", "process", "export   ", "undo twice", "wait 5", "screenshot --panel",
                         "screenshot", "click 72=-1", "drag 1,2"};
    for (const char* line : bad) {
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(wowfix::hostsim::parseEditorScript(std::string("click 72=4\n# fine\n") + line + "\nwait\n",
                                                        steps, error))
            << line;
        EXPECT_TRUE(steps.empty()) << line;
        EXPECT_NE(error.find("line 3: '"), std::string::npos) << error;
        EXPECT_NE(error.find(std::string(line).substr(0, 5)), std::string::npos) << error;
    }
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_TRUE(wowfix::hostsim::parseEditorScript("# nothing but a comment\n\n", steps, error));
    EXPECT_TRUE(steps.empty());
}

bool pngSize(const std::string& path, int& width, int& height, int& colours) {
    std::vector<std::uint8_t> rgb;
    if (!wowfix::test::readRgbPng(path, width, height, rgb)) return false;
    std::vector<std::uint32_t> seen;
    for (std::size_t i = 0; i + 2 < rgb.size() && seen.size() < 16; i += 3) {
        const std::uint32_t c = (rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2];
        bool known = false;
        for (std::uint32_t s : seen) known = known || s == c;
        if (!known) seen.push_back(c);
    }
    colours = static_cast<int>(seen.size());
    return true;
}

class Script : public ::testing::Test {
protected:
    void SetUp() override {
        plugin = hostsim_test::realPlugin();
        if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN is not set";
        hostsim_test::writeAudio(dir.file("tone.wav"), 1, 44100, 44100, [](long long n, int) {
            return static_cast<float>(0.5 * std::sin(2.0 * kPi * 3000.0 * static_cast<double>(n) / 44100.0));
        });
    }
    int run(const std::string& script) {
        hostsim_test::writeText(dir.file("steps.txt"), script);
        std::vector<std::string> args{"script", dir.file("tone.wav"), dir.file("steps.txt"), "--plugin", plugin,
                                      "--quiet"};
        out.str("");
        messages.str("");
        return wowfix::hostsim::runCommandLine(args, out, messages);
    }

    std::string plugin;
    std::ostringstream out;
    std::ostringstream messages;
    hostsim_test::TempDir dir;
};

TEST_F(Script, ABadLineStopsItBeforeAnythingIsWritten) {
    EXPECT_EQ(run("process " + dir.file("out.wav") + "\nscreenshot " + dir.file("a.png") + "\n\nclick forty\n"), 2);
    EXPECT_NE(messages.str().find("line 4: 'click forty'"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("out.wav")));
    EXPECT_FALSE(hostsim_test::exists(dir.file("a.png")));
    EXPECT_TRUE(out.str().empty()) << out.str();
    // Writing over the input or the script is refused the same way.
    EXPECT_EQ(run("screenshot " + dir.file("a.png") + "\nprocess " + dir.file("tone.wav") + "\n"), 2);
    EXPECT_NE(messages.str().find("line 2"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("a.png")));
    EXPECT_EQ(run("screenshot " + dir.file("steps.txt") + "\n"), 2);
    std::vector<std::string> missing{"script", dir.file("tone.wav"), dir.file("none.txt"), "--plugin", plugin};
    EXPECT_EQ(wowfix::hostsim::runCommandLine(missing, out, messages), 1);
    std::vector<std::string> usage{"script", dir.file("tone.wav")};
    EXPECT_EQ(wowfix::hostsim::runCommandLine(usage, out, messages), 2);
}

TEST_F(Script, AFailedStepStopsTheScriptAndLeavesAnEarlierFileWhole) {
    hostsim_test::writeText(dir.file("out.wav"), "kept");
    // Nothing to undo in a fresh window: the button is disabled.
    EXPECT_EQ(run("screenshot " + dir.file("first.png") + "\nundo\nprocess " + dir.file("out.wav") + "\n"), 1);
    EXPECT_NE(messages.str().find("line 2: undo"), std::string::npos) << messages.str();
    EXPECT_NE(out.str().find("line 1: screenshot"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("line 3"), std::string::npos) << out.str();
    EXPECT_TRUE(hostsim_test::exists(dir.file("first.png")));
    EXPECT_EQ(hostsim_test::readBytes(dir.file("out.wav")), "kept");
    // An export the plug-in cannot write is a failure, not a success.
    EXPECT_EQ(run("export " + dir.file("no such folder/never.pvc") + "\n"), 1);
    EXPECT_NE(messages.str().find("line 1: export"), std::string::npos) << messages.str();
    // So is an import of a file that is not there, which the dialog refuses.
    EXPECT_EQ(run("import " + dir.file("never.pvc") + "\nprocess " + dir.file("out.wav") + "\n"), 1);
    EXPECT_NE(messages.str().find("line 1: import"), std::string::npos) << messages.str();
    EXPECT_NE(messages.str().find("no curve file"), std::string::npos) << messages.str();
    EXPECT_EQ(hostsim_test::readBytes(dir.file("out.wav")), "kept");
}

TEST_F(Script, ProcessWaitAndScreenshotsReportWhatTheyDid) {
    hostsim_test::writeText(dir.file("out.wav"), "replaced");
    ASSERT_EQ(run("# steady file, flat curve\nwait\nprocess " + dir.file("out.wav") + "\nscreenshot " +
                  dir.file("panel.png") + " --panel\nscreenshot " + dir.file("window.png") + "\n"),
              0)
        << messages.str();
    EXPECT_NE(out.str().find("line 2: wait: "), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("line 3: process " + dir.file("out.wav") + ": wrote"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("4 steps done"), std::string::npos) << out.str();
    // The flat curve leaves every frame in place.
    const hostsim_test::Audio input = hostsim_test::readAudio(dir.file("tone.wav"));
    const hostsim_test::Audio output = hostsim_test::readAudio(dir.file("out.wav"));
    ASSERT_EQ(output.channels, 1);
    ASSERT_EQ(output.frames, input.frames);
    double worst = 0.0;
    for (long long n = 0; n < input.frames; ++n)
        worst = std::max(worst, static_cast<double>(std::fabs(output.at(n, 0) - kCentreWeight * input.at(n, 0))));
    EXPECT_LT(worst, 1e-5);
    int width = 0;
    int height = 0;
    int colours = 0;
    ASSERT_TRUE(pngSize(dir.file("panel.png"), width, height, colours));
    EXPECT_EQ(width, 670);
    EXPECT_EQ(height, 260);
    ASSERT_TRUE(pngSize(dir.file("window.png"), width, height, colours));
    EXPECT_EQ(width, 780);
    EXPECT_EQ(height, 470);
    EXPECT_GT(colours, 3);
}

}  // namespace
