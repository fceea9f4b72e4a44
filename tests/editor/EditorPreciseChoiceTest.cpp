// "Precise" on the pilot-tone and spectral-domain panels: off whenever a
// panel opens and dropped when it is left, the precise detectors' parameters
// on the bars while ticked, "Create PVC" running them as one undo step, and
// the box out of reach while a task runs.

#include "detectors/PreciseDetector.h"
#include "detectors/SDPvc.h"
#include "detectors/ToneTracker.h"
#include "editor/ControlValues.h"
#include "editor/EditorWindow.h"
#include "editor/ParameterText.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "host/VendorCommands.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditArea.h"
#include "spectral/SpectrogramStore.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using wowfix::EditorWindow;

constexpr double kTwoPi = 6.283185307179586;
constexpr int kFrames = 441000;
constexpr int kPrecise = 107;

// The speed of the recording: 0.3 % wow at 1 Hz.
double speedAt(int frame) { return 1.0 + 0.003 * std::sin(kTwoPi * frame / 44100.0); }

class EditorPreciseChoice : public ::testing::Test {
protected:
    void SetUp() override {
        editor = host.plugin().editorWindow();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(host.openEditorAtWork(1, kFrames));
        wowfix::soft::takeMessageBoxes();
    }
    void TearDown() override { host.dispatch(effEditClose); }

    // The host's file replaced by tones of these frequencies (at speed 1.0),
    // all following speedAt.
    void recordTones(const std::vector<double>& frequencies) {
        std::vector<float>& samples = host.audio.source[0];
        std::vector<double> phase(frequencies.size(), 0.0);
        for (int n = 0; n < kFrames; ++n) {
            double sum = 0.0;
            for (size_t k = 0; k < frequencies.size(); ++k) {
                sum += std::sin(phase[k]);
                phase[k] += kTwoPi * frequencies[k] * speedAt(n) / 44100.0;
            }
            samples[static_cast<size_t>(n)] = static_cast<float>(0.6 * sum / static_cast<double>(frequencies.size()));
        }
    }

    bool click(int id, int item = -1) { return wowfix::soft::clickControl(editor->mainWindow(), id, item); }
    void command(int id) {
        SendMessageA(editor->mainWindow(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(editor->control(id)));
    }
    void scrollBar(int id, int request, int times) {
        for (int i = 0; i < times; ++i)
            SendMessageA(editor->mainWindow(), WM_VSCROLL, MAKEWPARAM(request, 0),
                         reinterpret_cast<LPARAM>(editor->control(id)));
    }
    bool visible(int id) { return IsWindowVisible(editor->control(id)) != FALSE; }
    bool enabled(int id) { return IsWindowEnabled(editor->control(id)) != FALSE; }
    bool ticked() { return SendMessageA(editor->control(kPrecise), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool preciseOn() { return host.plugin().preciseDetectors().enabled(); }
    std::string text(int id) {
        char buffer[400] = {};
        GetWindowTextA(editor->control(id), buffer, sizeof buffer);
        return buffer;
    }
    wowfix::PreciseDetector* precise(int algorithm) {
        return host.plugin().preciseDetectors().forAlgorithm(algorithm, host.plugin().spectrogram().sampleRate());
    }
    // Columns whose captions, values and bars show the detector's parameters.
    void expectColumns(const wowfix::PvcDetector& detector, const std::vector<int>& captions,
                       const std::vector<int>& values, const std::vector<int>& bars, const char* format) {
        for (size_t i = 0; i < captions.size(); ++i) {
            const int index = static_cast<int>(i);
            SCOPED_TRACE("column " + std::to_string(i));
            EXPECT_TRUE(visible(captions[i]));
            EXPECT_TRUE(visible(bars[i]));
            EXPECT_EQ(text(captions[i]), wowfix::detectorCaption(detector, index));
            EXPECT_EQ(text(values[i]), wowfix::parameterValueText(format, detector.getParameterDisplayValue(index)));
            EXPECT_EQ(wowfix::barPositionOf(editor->control(bars[i])), wowfix::barPosition(detector.getParameter(index)));
        }
    }
    wowfix::PvcCurve& curve() { return host.plugin().curve(); }
    wowfix::UndoHistory& history() { return host.plugin().headlessEditor().history(); }
    // The run the last request asked for, and what the window shows after it.
    void runRequestedTask() {
        host.notify();
        editor->idle();
    }
    float curveSwing() {
        float low = 10.0f, high = 0.0f;
        for (int at = 44100; at < kFrames - 44100; at += 441) {
            low = std::min(low, curve().valueAtPosition(at));
            high = std::max(high, curve().valueAtPosition(at));
        }
        return high - low;
    }

    wowfix::test::PluginHost host;
    EditorWindow* editor = nullptr;
};

}  // namespace

namespace {

TEST_F(EditorPreciseChoice, EachPanelOpensWithoutItAndLeavingDropsIt) {
    // Only the two panels with a precise detector show the box.
    ASSERT_TRUE(click(72, 1));
    EXPECT_FALSE(visible(kPrecise));
    for (int entry : {4, 2}) {
        SCOPED_TRACE(entry);
        ASSERT_TRUE(click(72, entry));
        EXPECT_TRUE(visible(kPrecise));
        EXPECT_TRUE(enabled(kPrecise));
        EXPECT_FALSE(ticked());
        EXPECT_FALSE(preciseOn());
        ASSERT_TRUE(click(kPrecise));
        EXPECT_TRUE(ticked());
        EXPECT_TRUE(preciseOn());
        ASSERT_TRUE(click(kPrecise));
        EXPECT_FALSE(preciseOn());
        ASSERT_TRUE(click(kPrecise));
        ASSERT_TRUE(preciseOn());
        // The centre of gravity: the pilot or spectral panel is left.
        ASSERT_TRUE(click(72, 5));
        EXPECT_FALSE(preciseOn());
        EXPECT_FALSE(visible(kPrecise));
    }
    // From one panel with the box to the other: the second opens unticked.
    ASSERT_TRUE(click(72, 4));
    ASSERT_TRUE(click(kPrecise));
    ASSERT_TRUE(click(72, 2));
    EXPECT_FALSE(preciseOn());
    EXPECT_FALSE(ticked());
    // "Zoom" leaves the detector as well, and the right click back opens it anew.
    ASSERT_TRUE(click(kPrecise));
    ASSERT_TRUE(click(96));
    EXPECT_FALSE(preciseOn());
    EXPECT_FALSE(visible(kPrecise));
    // Choosing the same detector again keeps the box (and the third bar).
    ASSERT_TRUE(wowfix::soft::rightClick(editor->panelWindow(), 10, 10));
    ASSERT_TRUE(click(kPrecise));
    ASSERT_TRUE(click(72, 2));
    EXPECT_TRUE(preciseOn());
    EXPECT_TRUE(enabled(88));
    // Closing the window leaves the panel too.
    host.dispatch(effEditClose);
    EXPECT_FALSE(preciseOn());
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    editor = host.plugin().editorWindow();
    ASSERT_TRUE(wowfix::soft::drag(editor->panelWindow(), 100, 100, 100, 100));
    host.notify();
    ASSERT_TRUE(click(72, 2));
    EXPECT_FALSE(ticked());
    ASSERT_TRUE(click(96));
    // The vendor command's choice made meanwhile does not carry into the panel.
    host.command(wowfix::vendor::kUsePreciseDetectors, nullptr, 1.0f);
    ASSERT_TRUE(wowfix::soft::rightClick(editor->panelWindow(), 10, 10));
    EXPECT_EQ(editor->algorithm(), wowfix::kSpectralDetection);
    EXPECT_FALSE(preciseOn());
    EXPECT_FALSE(ticked());
}

TEST_F(EditorPreciseChoice, TheBoxOverlapsNoControlShownWithIt) {
    RECT box{};
    ASSERT_TRUE(GetWindowRect(editor->control(kPrecise), &box));
    for (int entry : {4, 2}) {
        ASSERT_TRUE(click(72, entry));
        for (bool tick : {false, true}) {
            if (tick) {
                ASSERT_TRUE(click(kPrecise));
            }
            for (int id = 0; id < wowfix::control::kCount; ++id) {
                if (id == kPrecise || editor->control(id) == nullptr || !visible(id)) continue;
                RECT r{};
                ASSERT_TRUE(GetWindowRect(editor->control(id), &r));
                const bool apart = r.right <= box.left || box.right <= r.left || r.bottom <= box.top ||
                                   box.bottom <= r.top;
                EXPECT_TRUE(apart) << "entry " << entry << (tick ? " precise" : " plain") << ", control " << id;
            }
        }
    }
}

TEST_F(EditorPreciseChoice, PilotPanelShowsAndSetsThePreciseTrackersParameters) {
    ASSERT_TRUE(click(72, 4));
    const std::vector<int> captions{25, 26, 27, 28}, values{35, 36, 37, 38}, bars{30, 31, 32, 33};
    ASSERT_TRUE(click(kPrecise));
    wowfix::PreciseDetector* detector = precise(wowfix::kPilotToneTracking);
    ASSERT_NE(detector, nullptr);
    EXPECT_EQ(std::string(detector->parameterName(0)), "Pilot frequency");
    expectColumns(*detector, captions, values, bars, "%.0f");
    for (int id : {29, 34, 39, 103, 104, 105}) EXPECT_FALSE(visible(id)) << "control " << id;

    // The bars set the precise tracker, not the plain one.
    const float plainFirst = host.plugin().toneTracker()->getParameter(0);
    scrollBar(30, SB_PAGEUP, 600);
    EXPECT_FLOAT_EQ(detector->getParameter(0), 1.0f);
    EXPECT_EQ(text(35), wowfix::parameterValueText("%.0f", detector->getParameterDisplayValue(0)));
    scrollBar(33, SB_PAGEDOWN, 600);
    EXPECT_FLOAT_EQ(detector->getParameter(3), 0.0f);
    EXPECT_EQ(text(38), wowfix::parameterValueText("%.0f", detector->getParameterDisplayValue(3)));
    EXPECT_FLOAT_EQ(host.plugin().toneTracker()->getParameter(0), plainFirst);
    // A scroll of a hidden column changes nothing.
    const float plainLast = host.plugin().toneTracker()->getParameter(5);
    scrollBar(104, SB_PAGEUP, 600);
    EXPECT_FLOAT_EQ(host.plugin().toneTracker()->getParameter(5), plainLast);

    // Unticked: the plain tracker's six columns again.
    ASSERT_TRUE(click(kPrecise));
    const wowfix::ToneTracker* tracker = host.plugin().toneTracker();
    ASSERT_NE(tracker, nullptr);
    expectColumns(*tracker, {25, 26, 27, 28, 29, 103}, {35, 36, 37, 38, 39, 105}, {30, 31, 32, 33, 34, 104},
                  "%.0f");
    // Ticked again: the values set before are kept.
    ASSERT_TRUE(click(kPrecise));
    EXPECT_EQ(wowfix::barPositionOf(editor->control(30)), wowfix::barPosition(1.0f));
}

TEST_F(EditorPreciseChoice, SpectralPanelShowsFourColumnsAndNoPreview) {
    ASSERT_TRUE(click(72, 2));
    EXPECT_FALSE(visible(84));
    EXPECT_FALSE(enabled(40));
    EXPECT_FALSE(enabled(88));
    ASSERT_TRUE(click(kPrecise));
    wowfix::PreciseDetector* detector = precise(wowfix::kSpectralDetection);
    ASSERT_NE(detector, nullptr);
    EXPECT_EQ(std::string(detector->parameterName(0)), "FFT Length");
    expectColumns(*detector, {81, 82, 83, 84}, {91, 92, 93, 94}, {86, 87, 88, 89}, "%.0f");
    EXPECT_FALSE(visible(85));
    EXPECT_FALSE(visible(90));
    for (int id : {86, 87, 88, 89}) EXPECT_TRUE(enabled(id)) << "bar " << id;
    EXPECT_TRUE(enabled(40));
    EXPECT_FALSE(enabled(80));
    // A "Preview" sent past the disabled button does nothing.
    host.notify();
    const int pending = host.plugin().headlessEditor().pendingTask();
    command(80);
    EXPECT_TRUE(wowfix::soft::takeMessageBoxes().empty());
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), pending);
    EXPECT_EQ(editor->tool(), 2);

    scrollBar(89, SB_PAGEDOWN, 600);
    EXPECT_FLOAT_EQ(detector->getParameter(3), 0.0f);
    EXPECT_EQ(text(94), wowfix::parameterValueText("%.0f", detector->getParameterDisplayValue(3)));
    const float plainThird = host.plugin().spectralDetector()->getParameter(2);
    scrollBar(88, SB_PAGEUP, 600);
    EXPECT_FLOAT_EQ(detector->getParameter(2), 1.0f);
    EXPECT_FLOAT_EQ(host.plugin().spectralDetector()->getParameter(2), plainThird);

    // Unticked: the plain detector's three columns, waiting for a preview.
    ASSERT_TRUE(click(kPrecise));
    EXPECT_FALSE(visible(84));
    EXPECT_FALSE(visible(89));
    EXPECT_TRUE(enabled(80));
    EXPECT_FALSE(enabled(40));
    EXPECT_FALSE(enabled(88));
    expectColumns(*host.plugin().spectralDetector(), {81, 82}, {91, 92}, {86, 87}, "%.0f");

    // After a preview the plain panel's "Create PVC" and threshold come back
    // usable from a detour over the precise detector.
    recordTones({440.0, 660.0, 1000.0});
    ASSERT_TRUE(wowfix::soft::drag(editor->panelWindow(), 222, 2, 444, 257));
    ASSERT_TRUE(click(80));
    runRequestedTask();
    ASSERT_TRUE(enabled(40));
    ASSERT_TRUE(enabled(88));
    ASSERT_TRUE(click(kPrecise));
    EXPECT_FALSE(enabled(80));
    ASSERT_TRUE(click(kPrecise));
    EXPECT_TRUE(enabled(40));
    EXPECT_TRUE(enabled(88));
    EXPECT_TRUE(enabled(80));
}

TEST_F(EditorPreciseChoice, CreatePvcOnThePilotPanelRunsThePreciseTracker) {
    recordTones({19000.0});
    ASSERT_TRUE(click(72, 4));
    ASSERT_TRUE(click(kPrecise));
    const int position = history().position();
    ASSERT_TRUE(click(40));
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kPilotToneTracking);
    runRequestedTask();
    EXPECT_EQ(host.message(), "");
    ASSERT_EQ(history().position(), position + 1);
    EXPECT_EQ(history().kindAt(position), wowfix::undoKindPilotTone);
    // A point every 256 frames that follows the wow.
    EXPECT_GT(curve().count(), kFrames / 256);
    EXPECT_NEAR(curveSwing(), 0.006f, 0.0005f);
    EXPECT_TRUE(enabled(78));
    EXPECT_TRUE(ticked());
    EXPECT_TRUE(enabled(kPrecise));
    // One undo takes the whole curve back.
    const int before = curve().count();
    ASSERT_TRUE(click(78));
    EXPECT_EQ(history().position(), position);
    EXPECT_NE(curve().count(), before);
}

TEST_F(EditorPreciseChoice, CreatePvcOnTheSpectralPanelRunsOverTheWholeFileWithoutAnArea) {
    recordTones({440.0, 660.0, 1000.0});
    ASSERT_TRUE(click(72, 2));
    host.notify();  // the view's pass that choosing the detector asks for
    ASSERT_FALSE(host.plugin().headlessEditor().area().selected);
    ASSERT_TRUE(click(kPrecise));
    const int position = history().position();
    ASSERT_TRUE(click(40));
    EXPECT_TRUE(wowfix::soft::takeMessageBoxes().empty());
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kSpectralDetection);
    runRequestedTask();
    ASSERT_EQ(history().position(), position + 1) << host.message();
    EXPECT_EQ(history().kindAt(position), wowfix::undoKindSpectralDetector);
    EXPECT_GT(curve().count(), kFrames / 256);
    // Speed 1.0 is the run's median; the wow swings 0.6 % around it.
    EXPECT_NEAR(curveSwing(), 0.006f, 0.001f);
    EXPECT_TRUE(enabled(78));
}

TEST_F(EditorPreciseChoice, CreatePvcOnTheSpectralPanelKeepsToTheMarkedArea) {
    recordTones({440.0, 660.0, 1000.0});
    ASSERT_TRUE(click(72, 2));
    host.notify();
    ASSERT_TRUE(click(kPrecise));
    // The area tool: a rectangle over the middle third of the time and the
    // whole band.
    ASSERT_TRUE(wowfix::soft::drag(editor->panelWindow(), 222, 2, 444, 257));
    const wowfix::EditArea area = host.plugin().headlessEditor().area();
    ASSERT_TRUE(area.selected);
    ASSERT_GT(area.start, 44100);
    ASSERT_LT(area.end, kFrames - 44100);
    const int position = history().position();
    ASSERT_TRUE(click(40));
    runRequestedTask();
    ASSERT_EQ(history().position(), position + 1) << host.message();
    EXPECT_EQ(history().kindAt(position), wowfix::undoKindSpectralDetector);
    // Outside the area the speed is 1.0; inside it follows the wow.
    for (int at : {1000, area.start - 20000, area.end + 20000, kFrames - 1000})
        EXPECT_FLOAT_EQ(curve().valueAtPosition(at), 1.0f) << "at " << at;
    float low = 10.0f, high = 0.0f;
    for (int at = area.start + 20000; at < area.end - 20000; at += 441) {
        low = std::min(low, curve().valueAtPosition(at));
        high = std::max(high, curve().valueAtPosition(at));
    }
    EXPECT_GT(high - low, 0.004f);
}

TEST_F(EditorPreciseChoice, TheBoxIsOutOfReachWhileATaskRuns) {
    recordTones({19000.0});
    ASSERT_TRUE(click(72, 4));
    ASSERT_TRUE(click(kPrecise));
    bool checkedDuringTask = false;
    host.duringRead = [&] {
        if (checkedDuringTask) return;
        checkedDuringTask = true;
        ASSERT_TRUE(host.plugin().busy());
        host.dispatch(effEditIdle);
        EXPECT_FALSE(enabled(kPrecise));
        EXPECT_FALSE(click(kPrecise));
        // A click that reached the box before it was disabled: refused, and
        // the box shows the detectors in use again once the task has ended.
        SendMessageA(editor->control(kPrecise), BM_SETCHECK, BST_UNCHECKED, 0);
        command(kPrecise);
        EXPECT_TRUE(preciseOn());
    };
    ASSERT_TRUE(click(40));
    runRequestedTask();
    host.duringRead = nullptr;
    EXPECT_TRUE(checkedDuringTask);
    EXPECT_FALSE(host.plugin().busy());
    EXPECT_TRUE(enabled(kPrecise));
    EXPECT_TRUE(ticked());
    EXPECT_TRUE(preciseOn());
    EXPECT_EQ(text(25), wowfix::detectorCaption(*precise(wowfix::kPilotToneTracking), 0));
}

TEST_F(EditorPreciseChoice, TheVendorCommandsChoiceIsShownOnTheOpenPanel) {
    ASSERT_TRUE(click(72, 4));
    host.command(wowfix::vendor::kUsePreciseDetectors, nullptr, 1.0f);
    host.dispatch(effEditIdle);
    EXPECT_TRUE(ticked());
    EXPECT_FALSE(visible(29));
    EXPECT_EQ(text(25), wowfix::detectorCaption(*precise(wowfix::kPilotToneTracking), 0));
    host.command(wowfix::vendor::kUsePreciseDetectors, nullptr, 0.0f);
    host.dispatch(effEditIdle);
    EXPECT_FALSE(ticked());
    EXPECT_TRUE(visible(29));
    EXPECT_EQ(text(25), wowfix::detectorCaption(*host.plugin().toneTracker(), 0));

    ASSERT_TRUE(click(72, 2));
    host.command(wowfix::vendor::kUsePreciseDetectors, nullptr, 1.0f);
    host.dispatch(effEditIdle);
    EXPECT_TRUE(ticked());
    EXPECT_TRUE(visible(84));
    EXPECT_TRUE(enabled(40));
    EXPECT_FALSE(enabled(80));
    host.command(wowfix::vendor::kUsePreciseDetectors, nullptr, 0.0f);
    host.dispatch(effEditIdle);
    EXPECT_FALSE(ticked());
    EXPECT_FALSE(visible(84));
    // No preview was made: "Create PVC" and the threshold wait for one.
    EXPECT_FALSE(enabled(40));
    EXPECT_FALSE(enabled(88));
    EXPECT_TRUE(enabled(80));
}

}  // namespace
