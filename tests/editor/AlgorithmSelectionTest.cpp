// The algorithm selector: each entry with the panel, tool and message it
// leaves, the fall-backs when an algorithm's object cannot be made, and the
// parameter bars of the panels.

#include "detectors/ToneTracker.h"
#include "editor/AlgorithmMessages.h"
#include "editor/EditorWindow.h"
#include "editor/ParameterText.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "spectral/SpectrogramStore.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wowfix::EditorWindow;
namespace message = wowfix::message;

class AlgorithmSelection : public ::testing::Test {
protected:
    void SetUp() override {
        editor = host.plugin().editorWindow();
        ASSERT_NE(editor, nullptr);
        ASSERT_EQ(host.dispatch(effEditOpen), 1);
        host.plugin().spectrogram().setSampleRate(48000.0f);
    }
    void TearDown() override { host.dispatch(effEditClose); }

    bool choose(int entry) { return wowfix::soft::clickControl(editor->mainWindow(), 72, entry); }
    bool visible(int id) { return IsWindowVisible(editor->control(id)) != FALSE; }
    std::string text(int id) {
        char buffer[400] = {};
        GetWindowTextA(editor->control(id), buffer, sizeof buffer);
        return buffer;
    }

    wowfix::test::PluginHost host;
    EditorWindow* editor = nullptr;
};

TEST_F(AlgorithmSelection, EachEntryLeavesItsPanelToolAndMessage) {
    struct Case {
        int entry;
        int algorithm;
        int tool;
        int panelControl;  // a control only this algorithm's panel shows; 0 none
        const char* info;  // nullptr: the info text is hidden
        bool createPvc;
    };
    const Case cases[] = {
        {1, 6, -1, 67, nullptr, false},
        {2, 7, 2, 86, nullptr, true},
        {4, 4, -1, 30, nullptr, true},
        {5, 5, 4, 0, message::kGravityActive, false},
        // No processing library in the test folder: no algorithm at all.
        {3, 0, -1, 0, message::kHumNotCreated, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        ASSERT_TRUE(choose(c.entry));
        EXPECT_EQ(editor->algorithm(), c.algorithm);
        EXPECT_EQ(editor->tool(), c.tool);
        for (int id : {67, 86, 30, 46, 57})
            EXPECT_EQ(visible(id), id == c.panelControl) << "control " << id;
        EXPECT_EQ(visible(75), c.info != nullptr);
        if (c.info != nullptr) {
            EXPECT_EQ(text(75), c.info);
        }
        EXPECT_EQ(visible(40), c.createPvc);
    }
    EXPECT_EQ(host.plugin().libraryInstance(), nullptr);
    EXPECT_EQ(host.plugin().toneTracker(), nullptr);
    EXPECT_EQ(host.plugin().spectralDetector(), nullptr);
}

TEST_F(AlgorithmSelection, PreviewWithoutAnAreaOnlyTellsTheUser) {
    ASSERT_TRUE(choose(2));
    wowfix::soft::takeMessageBoxes();
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 80));
    const std::vector<std::string> boxes = wowfix::soft::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::string(message::kInfoTitle) + ": " + message::kMarkAreaFirst);
    EXPECT_EQ(editor->tool(), 2);
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), 8);
}

TEST_F(AlgorithmSelection, ThePilotTrackerNeedsAHighRateAndZoomReturnsToTheLastDetector) {
    host.plugin().spectrogram().setSampleRate(22050.0f);
    ASSERT_TRUE(choose(4));
    EXPECT_EQ(editor->algorithm(), 0);
    EXPECT_EQ(text(75), message::kPilotNotCreated);
    host.plugin().spectrogram().setSampleRate(48000.0f);
    ASSERT_TRUE(choose(5));
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 96));
    EXPECT_EQ(editor->algorithm(), 8);
    EXPECT_EQ(editor->tool(), 0);
    EXPECT_TRUE(visible(106));
    EXPECT_TRUE(visible(57));
    // A right click in the panel goes back to the centre of gravity.
    ASSERT_TRUE(wowfix::soft::rightClick(editor->panelWindow(), 10, 10));
    EXPECT_EQ(editor->algorithm(), 5);
    EXPECT_FALSE(visible(106));
}

TEST_F(AlgorithmSelection, TrackerBarsReachBothEndsAndShowTheirValues) {
    ASSERT_TRUE(choose(4));
    wowfix::ToneTracker* tracker = host.plugin().toneTracker();
    ASSERT_NE(tracker, nullptr);
    const std::string caption = text(25);
    EXPECT_NE(caption.find("\n["), std::string::npos);
    EXPECT_EQ(caption.back(), ']');
    for (int request : {SB_PAGEDOWN, SB_PAGEUP}) {
        SCOPED_TRACE(request);
        for (int i = 0; i < 600; ++i)
            SendMessageA(editor->mainWindow(), WM_VSCROLL, MAKEWPARAM(request, 0),
                         reinterpret_cast<LPARAM>(editor->control(30)));
        EXPECT_FLOAT_EQ(tracker->getParameter(0), request == SB_PAGEDOWN ? 0.0f : 1.0f);
        EXPECT_EQ(text(35), wowfix::parameterValueText("%.0f", tracker->getParameterDisplayValue(0)));
    }
}

TEST_F(AlgorithmSelection, ABarIsClickedBesideItsThumbOrOnAnArrowAsAUserDoes) {
    using wowfix::soft::clickControl;
    ASSERT_TRUE(choose(4));
    wowfix::ToneTracker* tracker = host.plugin().toneTracker();
    ASSERT_NE(tracker, nullptr);
    for (int i = 0; i < 600; ++i) ASSERT_TRUE(clickControl(editor->mainWindow(), 30, SB_PAGEDOWN));
    EXPECT_FLOAT_EQ(tracker->getParameter(0), 0.0f);
    ASSERT_TRUE(clickControl(editor->mainWindow(), 30, SB_LINEUP));
    const float stepped = tracker->getParameter(0);
    EXPECT_GT(stepped, 0.0f);
    EXPECT_EQ(text(35), wowfix::parameterValueText("%.0f", tracker->getParameterDisplayValue(0)));
    // On the thumb nothing moves; a request that is no click is refused.
    EXPECT_TRUE(clickControl(editor->mainWindow(), 30));
    EXPECT_FALSE(clickControl(editor->mainWindow(), 30, SB_THUMBTRACK));
    EXPECT_FLOAT_EQ(tracker->getParameter(0), stepped);
}

TEST_F(AlgorithmSelection, ManualToolsFollowTheirButtonsAndUpdateAsksOnlyForChanges) {
    using wowfix::soft::clickControl;
    ASSERT_TRUE(choose(1));
    EXPECT_FALSE(clickControl(editor->mainWindow(), 66));  // needs "Show PVC Points"
    ASSERT_TRUE(clickControl(editor->mainWindow(), 65));
    ASSERT_TRUE(clickControl(editor->mainWindow(), 66));
    EXPECT_EQ(editor->tool(), 1);
    EXPECT_FALSE(clickControl(editor->mainWindow(), 67));
    ASSERT_TRUE(clickControl(editor->mainWindow(), 66));
    EXPECT_EQ(editor->tool(), 1);  // no tool button was checked
    for (int id : {67, 68, 69}) {
        ASSERT_TRUE(clickControl(editor->mainWindow(), id));
        EXPECT_EQ(editor->tool(), id == 67 ? 5 : id == 68 ? 6 : 3);
    }
    // "Update" with the shown settings asks for nothing; a new length does.
    ASSERT_TRUE(clickControl(editor->mainWindow(), 96));
    ASSERT_TRUE(clickControl(editor->mainWindow(), 61));
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), 0);
    ASSERT_TRUE(clickControl(editor->mainWindow(), 59, 2));
    ASSERT_TRUE(clickControl(editor->mainWindow(), 61));
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), 8);
    EXPECT_EQ(host.plugin().headlessEditor().view().resolution, 256);
    EXPECT_TRUE(host.plugin().taskState().settingsChanged);
}

TEST(ParameterText, TextsStayInsideTheirBuffers) {
    EXPECT_EQ(wowfix::parameterValueText("%.0f", 1e300), "-");
    EXPECT_EQ(wowfix::parameterValueText("%.1f", 0.0 / 0.0), "-");
    EXPECT_EQ(wowfix::parameterValueText("%.1f", 2.25), "2.2");
    const std::string caption = wowfix::parameterCaption(std::string(500, 'n'), std::string(50, 'l'));
    EXPECT_EQ(caption, std::string(98, 'n') + "\n[" + std::string(18, 'l') + "]");
    EXPECT_EQ(wowfix::barValue(wowfix::barPosition(0.0f)), 0.0f);
    EXPECT_EQ(wowfix::barValue(wowfix::barPosition(1.0f)), 1.0f);
}

}  // namespace
