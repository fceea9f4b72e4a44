// The processing-library panel with the hum libraries built beside the
// tests: its basic and advanced sets, "Show Hum" and "Create PVC".

#include "editor/EditorWindow.h"
#include "editor/ParameterText.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/ProcessingLibrary.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using wowfix::EditorWindow;

class EditorLibraryPanel : public ::testing::Test {
protected:
    void SetUp() override {
        host.plugin().processingLibrary().setFolder(HUM_LIBRARY_FOLDER);
        editor = host.plugin().editorWindow();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(host.openEditorAtWork(1, kFrames));
        ASSERT_TRUE(click(72, 3));
        ASSERT_EQ(editor->algorithm(), wowfix::kLibraryDetection);
    }
    void TearDown() override { host.dispatch(effEditClose); }

    bool click(int id, int item = -1) { return wowfix::soft::clickControl(editor->mainWindow(), id, item); }
    bool visible(int id) { return IsWindowVisible(editor->control(id)) != FALSE; }
    std::string text(int id) {
        char buffer[200] = {};
        GetWindowTextA(editor->control(id), buffer, sizeof buffer);
        return buffer;
    }
    std::string captionOf(int index) { return wowfix::parameterCaption(library().name(index), library().label(index)); }
    wowfix::ProcessingLibrary& library() { return host.plugin().processingLibrary(); }
    wowfix::EditorView& view() { return host.plugin().headlessEditor().view(); }

    static constexpr int kFrames = 441000;
    wowfix::test::PluginHost host;
    EditorWindow* editor = nullptr;
};

TEST_F(EditorLibraryPanel, AdvancedAndBasicSwitchTheSlotsAndTheButtonsCaption) {
    for (int id : {56, 40, 64, 46, 50}) EXPECT_TRUE(visible(id)) << id;
    EXPECT_EQ(text(64), "Advanced >");
    EXPECT_EQ(text(41), captionOf(1));
    EXPECT_EQ(text(45), captionOf(10));

    ASSERT_TRUE(click(64));
    EXPECT_TRUE(editor->advancedPanel());
    EXPECT_EQ(text(64), "< Basic");
    const int advanced[] = {5, 6, 7, 9, 11};
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(text(41 + slot), captionOf(advanced[slot]));
        EXPECT_EQ(text(51 + slot), wowfix::parameterValueText("%.0f", library().display(advanced[slot])));
    }

    // Slot 3 of the advanced set: the lag never shows less than 2.
    for (int i = 0; i < 600; ++i)
        SendMessageA(editor->mainWindow(), WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0),
                     reinterpret_cast<LPARAM>(editor->control(48)));
    EXPECT_GE(library().display(7), 2.0f);
    EXPECT_EQ(text(53), wowfix::parameterValueText("%.0f", library().display(7)));

    ASSERT_TRUE(click(64));
    EXPECT_FALSE(editor->advancedPanel());
    EXPECT_EQ(text(64), "Advanced >");
    EXPECT_EQ(text(41), captionOf(1));

    // The panel opens on the basic set whatever it showed when left.
    ASSERT_TRUE(click(64));
    ASSERT_TRUE(click(72, 5));
    EXPECT_FALSE(visible(64));
    ASSERT_TRUE(click(72, 3));
    EXPECT_FALSE(editor->advancedPanel());
    EXPECT_EQ(text(64), "Advanced >");
    EXPECT_EQ(text(41), captionOf(1));
}

TEST_F(EditorLibraryPanel, ShowHumAndCreatePvcAskForTheHumTaskOverTheWholeSelection) {
    // A zoomed time view first (in the zoom mode, where it can be zoomed).
    ASSERT_TRUE(click(96));
    ASSERT_TRUE(click(17));
    host.notify();
    ASSERT_LT(view().viewLength, kFrames);
    ASSERT_TRUE(click(72, 3));

    ASSERT_TRUE(click(56));
    EXPECT_TRUE(host.plugin().usesRuntimeLibrary());
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kLibraryDetection);
    EXPECT_EQ(static_cast<int>(host.mode()), wowfix::kLibraryDetection);
    EXPECT_FALSE(IsWindowEnabled(editor->control(11)));
    EXPECT_EQ(text(20), "0");
    EXPECT_EQ(text(19), std::to_string(static_cast<long long>(std::trunc(library().display(2)))));
    EXPECT_EQ(view().rangeStart, 0);
    EXPECT_EQ(view().rangeEnd, kFrames);
    EXPECT_EQ(text(22), "0:10.000");

    ASSERT_TRUE(click(40));
    EXPECT_FALSE(host.plugin().usesRuntimeLibrary());
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kLibraryDetection);
    EXPECT_NE(host.plugin().libraryInstance(), nullptr);
}

}  // namespace
