// wowfix-host screenshot: the plug-in's editor window opened without a
// screen on a file, its spectrogram in the palette, scripted clicks, and the
// command's refusals.

#include "PluginCommandTest.h"

#include "editor/Palette.h"
#include "hostsim/cli/EditorActions.h"
#include "tests/support/RgbPng.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace {

using wowfix::test::readRgbPng;

constexpr double kPi = 3.141592653589793;

class Screenshot : public hostsim_test::PluginCommandTest {
protected:
    void SetUp() override {
        PluginCommandTest::SetUp();
        if (IsSkipped()) return;
        hostsim_test::writeAudio(dir.file("tone.wav"), 1, 44100, 44100, [](long long n, int) {
            return static_cast<float>(0.5 * std::sin(2.0 * kPi * 5000.0 * static_cast<double>(n) / 44100.0));
        });
    }
    int run(std::vector<std::string> args) {
        args.push_back("--quiet");
        return PluginCommandTest::run(std::move(args));
    }
};

TEST_F(Screenshot, TheWindowShowsTheSpectrogramInThePaletteAndTheChosenPanel) {
    const std::string png = dir.file("window.png");
    ASSERT_EQ(run({"screenshot", dir.file("tone.wav"), png, "--after", "click 72=4; click 100"}), 0) << messages.str();
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    ASSERT_TRUE(readRgbPng(png, width, height, rgb));
    ASSERT_EQ(width, 780);
    ASSERT_EQ(height, 470);
    // Inside the panel (75, 25) every spectrogram pixel has a palette colour.
    const wowfix::Palette palette;
    int paletteColoured = 0;
    for (int y = 26; y < 25 + 259; y += 7)
        for (int x = 76; x < 75 + 669; x += 13) {
            const size_t i = (static_cast<size_t>(y) * width + x) * 3;
            const COLORREF c = RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
            bool found = c == RGB(0, 0, 0);  // the curve at 1.0
            for (int level = 0; level <= 100 && !found; ++level) found = palette.colour(level) == c;
            paletteColoured += found;
            EXPECT_TRUE(found) << x << "," << y;
        }
    EXPECT_GT(paletteColoured, 500);
    // The tracker's first parameter bar (281, 367) is shown, unlike on opening.
    const std::string opened = dir.file("opened.png");
    ASSERT_EQ(run({"screenshot", dir.file("tone.wav"), opened}), 0) << messages.str();
    std::vector<std::uint8_t> first;
    ASSERT_TRUE(readRgbPng(opened, width, height, first));
    const size_t bar = (static_cast<size_t>(400) * width + 289) * 3;
    EXPECT_NE(std::memcmp(&rgb[bar], &first[bar], 3), 0);
}

TEST_F(Screenshot, BadActionsAndUnreachableControlsAreRefused) {
    EXPECT_EQ(run({"screenshot", dir.file("tone.wav"), dir.file("a.png"), "--after", "poke 3"}), 2);
    EXPECT_NE(messages.str().find("bad action 'poke 3'"), std::string::npos) << messages.str();
    EXPECT_EQ(run({"screenshot", dir.file("tone.wav"), dir.file("a.png"), "--after", "click 78"}), 1);
    EXPECT_NE(messages.str().find("action 'click 78' cannot be done"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("a.png")));
    EXPECT_EQ(run({"screenshot", dir.file("tone.wav"), dir.file("tone.wav")}), 1);
    EXPECT_EQ(run({"screenshot", dir.file("tone.wav")}), 2);
}

TEST(EditorActionScript, ReadsEachActionAndNamesTheFirstBadOne) {
    std::vector<wowfix::hostsim::EditorActionText> actions;
    std::string error;
    ASSERT_TRUE(wowfix::hostsim::parseEditorActions("click 72=4; drag 10,20 30,40;rclick 5,6; wheel -2; key 13;"
                                                    " answer /tmp/a b.pvc",
                                                    actions, error));
    ASSERT_EQ(actions.size(), 6u);
    EXPECT_EQ(actions[0].action.id, 72);
    EXPECT_EQ(actions[0].action.item, 4);
    EXPECT_EQ(actions[1].action.x2, 30);
    EXPECT_EQ(actions[1].action.y2, 40);
    EXPECT_EQ(actions[3].action.item, -2);
    EXPECT_EQ(actions[5].path, "/tmp/a b.pvc");
    EXPECT_FALSE(wowfix::hostsim::parseEditorActions("click 30; drag 1,2", actions, error));
    EXPECT_NE(error.find("'drag 1,2'"), std::string::npos);
    EXPECT_FALSE(wowfix::hostsim::parseEditorActions("click 72=-1", actions, error));
    EXPECT_TRUE(wowfix::hostsim::parseEditorActions("", actions, error));
    EXPECT_TRUE(actions.empty());
}

}  // namespace
