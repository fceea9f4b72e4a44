// The view controls of the window: zoom buttons, the view scroll bars and
// the labels, with the spectrogram pass run by a host that notifies at once.

#include "editor/EditorWindow.h"
#include "editor/view/TimeView.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "spectral/SpectrogramStore.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wowfix::EditorWindow;

class EditorViewControls : public ::testing::Test {
protected:
    void SetUp() override {
        editor = host.plugin().editorWindow();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(host.openEditorAtWork(1, kFrames));
        ASSERT_EQ(view().viewLength, kFrames);
    }
    void TearDown() override { host.dispatch(effEditClose); }

    wowfix::EditorView& view() { return host.plugin().headlessEditor().view(); }
    std::string text(int id) {
        char buffer[64] = {};
        GetWindowTextA(editor->control(id), buffer, sizeof buffer);
        return buffer;
    }
    void scroll(int id, int request) {
        SendMessageA(editor->mainWindow(), id == 13 ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(request, 0),
                     reinterpret_cast<LPARAM>(editor->control(id)));
    }

    static constexpr int kFrames = 441000;
    wowfix::test::PluginHost host;
    EditorWindow* editor = nullptr;
};

TEST_F(EditorViewControls, TimeZoomKeepsTheShownOriginUntilThePassHasRun) {
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 17));
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kViewAcquisition);
    const wowfix::TimeView time(view());
    const double start = time.requestedStart();
    const double end = time.requestedEnd();
    EXPECT_EQ(view().viewOrigin, 0);
    EXPECT_NEAR(end - start, kFrames / 2.0, 2);
    EXPECT_EQ(text(21), "0:02.500");
    EXPECT_EQ(text(22), "0:07.500");
    host.notify();
    EXPECT_EQ(view().viewOrigin, start);
    EXPECT_EQ(view().viewLength, end - start);
    // The pass leaves the labels at the view it has drawn.
    EXPECT_EQ(text(21), "0:02.500");
    EXPECT_EQ(text(22), "0:07.500");
    // Paging the time bar to the end stops at the last frame with the width kept.
    for (int i = 0; i < 10; ++i) scroll(13, SB_PAGEDOWN);
    scroll(13, SB_ENDSCROLL);
    host.notify();
    EXPECT_EQ(view().viewOrigin + view().viewLength, kFrames);
    EXPECT_NEAR(view().viewLength, end - start, 2);
    // Zooming out twice shows the whole file again.
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 16));
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 16));
    host.notify();
    EXPECT_EQ(view().viewOrigin, 0);
    EXPECT_EQ(view().viewLength, kFrames);
    EXPECT_EQ(text(22), "0:10.000");
}

TEST_F(EditorViewControls, FrequencyZoomShowsAtOnceAndZoomAllUndoesIt) {
    const wowfix::SpectrogramStore& store = host.plugin().spectrogram();
    const float top = store.topFrequency();
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 14));
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 14));
    EXPECT_LT(store.topFrequency(), top * 0.8f);
    EXPECT_EQ(text(19), std::to_string(static_cast<int>(store.topFrequency())));
    // The frequency bar scrolls the band down to 0, keeping its width.
    const float width = store.topFrequency() - store.bottomFrequency();
    for (int i = 0; i < 10; ++i) scroll(12, SB_PAGEDOWN);
    scroll(12, SB_ENDSCROLL);
    EXPECT_NEAR(store.bottomFrequency(), 0, 30);
    EXPECT_NEAR(store.topFrequency() - store.bottomFrequency(), width, 60);
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 97));
    EXPECT_NEAR(store.topFrequency(), top, 30);
    host.notify();
    EXPECT_EQ(view().viewLength, kFrames);
}

}  // namespace
