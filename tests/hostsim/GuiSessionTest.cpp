// The host's session with a user: tasks on a worker thread, the files it
// holds, the corrected file kept until saved; and the host's window on a
// display with the editor inside (under xvfb-run; skipped without one).

#include "editor/win32/SoftInput.h"
#include "host/VendorCommands.h"
#include "hostsim/gui/GuiSession.h"
#include "tests/hostsim/HostTestSupport.h"
#include "tests/hostsim/PilotRecording.h"

// Google Test first: Xlib's macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include "tests/editor/X11TestEvents.h"

#include <X11/Xlib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

using wowfix::hostsim::GuiFrame;
using wowfix::hostsim::GuiSession;

class GuiSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        plugin = hostsim_test::realPlugin();
        if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN not set";
        input = dir.file("take one.wav");
        hostsim_test::writeAudio(input, 2, 44100, 44100, [](long long n, int c) {
            return 0.4f * static_cast<float>(std::sin(2.0 * M_PI * (c == 0 ? 440.0 : 660.0) * n / 44100.0));
        });
    }
    hostsim_test::TempDir dir;
    std::string plugin;
    std::string input;
};

TEST_F(GuiSessionTest, ProcessRunsOnAWorkerKeepsTheCorrectedFileUntilSavedAndReportsAgainAfterEveryTask) {
    GuiSession session;
    std::string error;
    ASSERT_TRUE(session.start(plugin, false, error)) << error;
    EXPECT_FALSE(session.process());  // nothing open yet
    EXPECT_EQ(session.status(), "Open a file first.");
    EXPECT_FALSE(session.openFile(dir.file("missing.wav")));
    ASSERT_TRUE(session.openFile(input)) << session.status();
    ASSERT_TRUE(session.settle());
    // The editor shows its start picture until the user's first click; a
    // scripted request stands in for it here.
    session.process();
    ASSERT_TRUE(session.settle());
    EXPECT_EQ(session.files().count(), 1) << "refused before the first click";
    session.host().vendorCommand(wowfix::vendor::kRequestTask, nullptr, 1.0f);
    ASSERT_TRUE(session.settle());

    const int before = session.reports();
    ASSERT_TRUE(session.process()) << session.status();
    // While the task runs the frame's commands are refused.
    if (session.busy()) {
        EXPECT_FALSE(session.openFile(input));
        EXPECT_FALSE(session.process());
    }
    ASSERT_TRUE(session.settle()) << session.status();
    ASSERT_EQ(session.files().count(), 2) << session.status();
    const wowfix::hostsim::HeldFile* corrected = session.files().at(1);
    EXPECT_TRUE(corrected->temporary);
    EXPECT_EQ(corrected->name, "corrected take one.wav");
    EXPECT_NE(corrected->id, session.files().at(0)->id);
    EXPECT_GT(session.reports(), before + 1);  // the process request, and the files reported again

    // A flat curve: the corrected file is the take, every frame scaled by the
    // weight of the resampler window's centre tap.
    const double centre = 0.5 * (1.0 - std::cos(16.0 * M_PI / 17.0));
    const hostsim_test::Audio in = hostsim_test::readAudio(input);
    const hostsim_test::Audio out = hostsim_test::readAudio(corrected->path);
    ASSERT_EQ(out.channels, 2);
    ASSERT_EQ(out.frames, in.frames);
    double worst = 0.0;
    for (long long n = 0; n < in.frames; ++n)
        for (int c = 0; c < 2; ++c) worst = std::max(worst, std::fabs(out.at(n, c) - centre * in.at(n, c)));
    EXPECT_LT(worst, 1e-5);

    const std::string temporary = corrected->path;
    const std::string saved = dir.file("kept.wav");
    ASSERT_TRUE(session.saveAs(saved)) << session.status();
    EXPECT_TRUE(hostsim_test::exists(saved));
    EXPECT_FALSE(hostsim_test::exists(temporary));
    EXPECT_FALSE(session.files().at(1)->temporary);
    EXPECT_FALSE(session.saveAs(dir.file("no such folder/x.wav")));

    // Choosing the corrected file reports it to the plug-in under its own id.
    ASSERT_TRUE(session.chooseFile(1));
    ASSERT_TRUE(session.settle());
    EXPECT_EQ(session.host().fileId(), session.files().at(1)->id);
}

TEST_F(GuiSessionTest, ACorrectionFileLeftUnsavedIsRemovedWithTheSession) {
    std::string temporary;
    {
        GuiSession session;
        std::string error;
        ASSERT_TRUE(session.start(plugin, false, error)) << error;
        ASSERT_TRUE(session.openFile(input));
        session.host().vendorCommand(wowfix::vendor::kRequestTask, nullptr, 1.0f);
        ASSERT_TRUE(session.settle());
        ASSERT_TRUE(session.process());
        ASSERT_TRUE(session.settle());
        ASSERT_EQ(session.files().count(), 2) << session.status();
        temporary = session.files().at(1)->path;
        EXPECT_TRUE(hostsim_test::exists(temporary));
    }
    EXPECT_FALSE(hostsim_test::exists(temporary));
}

// The host's window on a display.
class X11Gui : public GuiSessionTest {
protected:
    void SetUp() override {
        GuiSessionTest::SetUp();
        if (IsSkipped()) return;
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
        display = XOpenDisplay(nullptr);
        if (display == nullptr) GTEST_SKIP() << "cannot open the display";
    }
    void TearDown() override {
        if (display != nullptr) XCloseDisplay(display);
    }
    void click(Window target, int x, int y) { wowfix::test::clickThroughServer(display, target, x, y); }
    // The editor's window inside the host's.
    Window editorIn(Window host) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned n = 0;
        if (XQueryTree(display, host, &root, &parent, &children, &n) == 0) return 0;
        const Window editor = n == 1 ? children[0] : 0;
        if (children != nullptr) XFree(children);
        return editor;
    }
    Display* display = nullptr;
};

TEST_F(X11Gui, TheEditorSitsInsideTheHostsWindowAndTheFrameAnswersClicks) {
    GuiSession session;
    std::string error;
    ASSERT_TRUE(session.start(plugin, true, error)) << error;
    const Window host = session.hostWindow();
    ASSERT_NE(host, 0u);
    unsigned count = 0;
    EXPECT_EQ(wowfix::test::parentOf(display, host, &count), DefaultRootWindow(display));
    EXPECT_EQ(count, 1u);  // the editor's window
    char* name = nullptr;
    ASSERT_NE(XFetchName(display, host, &name), 0);
    EXPECT_STREQ(name, "wowfix-host");
    XFree(name);

    ASSERT_TRUE(session.openFile(input));
    ASSERT_TRUE(session.settle());
    // The first click on the start picture, through the X server, sets the
    // editor to work on the file.
    const Window editor = editorIn(host);
    ASSERT_NE(editor, 0u);
    click(editor, 300, 120);
    for (int i = 0; i < 20; ++i) session.settle(100);
    // "Process" (96, 478), 80 x 22, clicked through the X server.
    click(host, 130, GuiFrame::kEditorHeight + 18);
    for (int i = 0; i < 200 && session.files().count() < 2; ++i) session.settle(1000);
    ASSERT_EQ(session.files().count(), 2) << session.status();
    // "Quit".
    click(host, 730, GuiFrame::kEditorHeight + 18);
    EXPECT_FALSE(session.step());
}

// The user's pilot road on the screen: the start picture clicked away, the
// pilot tracker chosen from the drop-down list, "Create PVC", the host's
// "Process" and "Save as..." answered with the keyboard; the saved file's
// pilot then runs steady.
TEST_F(X11Gui, ThePilotRoadOnTheScreenWritesASteadyFile) {
    const long long frames = 6 * 48000;
    const auto speed = [](long long n) { return 1.0 + 0.003 * std::sin(2.0 * M_PI * 0.5 * n / 48000.0); };
    hostsim_test::PilotRecording recording;
    recording.frames = frames;
    const std::string wowing = dir.file("wowing.wav");
    hostsim_test::writePilotRecording(wowing, recording, speed);

    GuiSession session;
    std::string error;
    ASSERT_TRUE(session.start(plugin, true, error)) << error;
    const Window host = session.hostWindow();
    ASSERT_TRUE(session.openFile(wowing)) << session.status();
    ASSERT_TRUE(session.settle());
    const Window editor = editorIn(host);
    ASSERT_NE(editor, 0u);
    const auto rest = [&session] {
        for (int i = 0; i < 10; ++i) session.settle(100);
        return session.settle();
    };
    click(editor, 300, 120);  // the start picture
    ASSERT_TRUE(rest());
    // The drop-down list at (5, 335) drops its entries 13 pixels each below
    // its 21-pixel line; the fifth is the pilot tracker.
    click(editor, 100, 345);
    ASSERT_TRUE(rest());
    click(editor, 100, 335 + 21 + 1 + 4 * 13 + 6);
    ASSERT_TRUE(rest());
    click(editor, 717, 445);  // "Create PVC"
    ASSERT_TRUE(rest()) << session.status();
    click(host, 130, GuiFrame::kEditorHeight + 18);  // "Process"
    for (int i = 0; i < 600 && session.files().count() < 2; ++i) session.settle(1000);
    ASSERT_EQ(session.files().count(), 2) << session.status();

    // "Save as..." opens the layer's file dialog in the current folder: the
    // user types the name and presses Return.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.file(""));
    std::vector<KeySym> keys = wowfix::test::keysOf("steady.wav");
    keys.push_back(XK_Return);
    std::thread user(wowfix::test::pressKeysIn, "Save audio file as", keys);
    click(host, 224, GuiFrame::kEditorHeight + 18);
    for (int i = 0; i < 50 && !hostsim_test::exists(dir.file("steady.wav")); ++i) session.settle(100);
    user.join();
    std::filesystem::current_path(before);
    const std::string saved = dir.file("steady.wav");
    ASSERT_TRUE(hostsim_test::exists(saved)) << session.status();

    // Played at the nominal rate, the result is as long as the recording's
    // speed ratios add up to, and its pilot, tracked again, is steady.
    double ratios = 0.0;
    for (long long n = 0; n < frames; ++n) ratios += speed(n);
    const hostsim_test::Audio steady = hostsim_test::readAudio(saved);
    EXPECT_NEAR(static_cast<double>(steady.frames), ratios, 0.0005 * frames);
    const std::string after = dir.file("after.pvc");
    const hostsim_test::CommandResult detect =
        hostsim_test::runHostCommand({"detect", saved, "--algorithm", "pilot", "--pvc", after, "--quiet", "--plugin", plugin});
    ASSERT_EQ(detect.status, 0) << detect.output;
    const std::vector<hostsim_test::CurvePoint> curve = hostsim_test::readCurve(after);
    ASSERT_FALSE(curve.empty());
    for (const hostsim_test::CurvePoint& point : curve) EXPECT_NEAR(point.value, 1.0, 0.0015) << point.position;
}

}  // namespace
