// Opening, closing and re-opening the editor, two windows at once, and the
// entries that must do nothing while the window is closed.

#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "editor/win32/SoftObjects.h"
#include "host/HeadlessEditor.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

namespace {

using wowfix::EditorWindow;

TEST(EditorLifecycle, ThePluginAttachesAnEditorOf780By470) {
    wowfix::test::PluginHost host;
    EXPECT_NE(host.effect->flags & effFlagsHasEditor, 0);
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 470);
    EXPECT_EQ(rect->right, 780);
}

TEST(EditorLifecycle, ReopeningKeepsOneRegistrationAndTheLastCloseRemovesIt) {
    wowfix::test::PluginHost host;
    const char* name = EditorWindow::kClassName;
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    EXPECT_EQ(wowfix::soft::classRegistrations(name), 1);
    host.dispatch(effEditClose);
    EXPECT_EQ(wowfix::soft::classRegistrations(name), 0);
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    ASSERT_EQ(host.dispatch(effEditOpen), 1);  // already open: no second window
    EXPECT_EQ(EditorWindow::openWindows(), 1);
    EXPECT_EQ(wowfix::soft::classRegistrations(name), 1);
    host.dispatch(effEditClose);
    EXPECT_EQ(EditorWindow::openWindows(), 0);
    EXPECT_EQ(wowfix::soft::classRegistrations(name), 0);
}

TEST(EditorLifecycle, TwoInstancesKeepTheirOwnControls) {
    wowfix::test::PluginHost first;
    wowfix::test::PluginHost second;
    ASSERT_EQ(first.dispatch(effEditOpen), 1);
    ASSERT_EQ(second.dispatch(effEditOpen), 1);
    EditorWindow* a = first.plugin().editorWindow();
    EditorWindow* b = second.plugin().editorWindow();
    EXPECT_NE(a->control(72), b->control(72));
    // The pilot-tone tracker needs a rate of 24000 Hz or more.
    first.plugin().spectrogram().setSampleRate(48000.0f);
    ASSERT_TRUE(wowfix::soft::clickControl(a->mainWindow(), 72, 4));
    EXPECT_EQ(a->algorithm(), 4);
    EXPECT_EQ(b->algorithm(), 8);
    EXPECT_EQ(SendMessageA(b->control(72), CB_GETCURSEL, 0, 0), 0);
    first.dispatch(effEditClose);
    // The class stays while the other window is open.
    EXPECT_EQ(wowfix::soft::classRegistrations(EditorWindow::kClassName), 1);
    EXPECT_NE(b->control(10), nullptr);
    EXPECT_EQ(a->control(10), nullptr);
    second.dispatch(effEditClose);
}

TEST(EditorLifecycle, ClosedWindowDrawsNothingAndGuardsItsTable) {
    wowfix::test::PluginHost host;
    EditorWindow* editor = host.plugin().editorWindow();
    // Before open: every drawing entry is a no-op.
    editor->drawColumn(3);
    editor->drawCurve();
    editor->drawCurveWithBounds(10, 20);
    editor->showProgress(50.0);
    editor->repaintPanel();
    EXPECT_FALSE(editor->drawEditCursor(10.0));
    EXPECT_EQ(editor->control(72), nullptr);
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    EXPECT_EQ(editor->control(-1), nullptr);
    EXPECT_EQ(editor->control(108), nullptr);
    EXPECT_EQ(editor->control(1000000), nullptr);
    EXPECT_NE(editor->control(107), nullptr);
    // The histories exist before and after, with the editor object.
    EXPECT_EQ(&editor->undoHistory(3), &editor->undoHistory(3));
    EXPECT_EQ(&editor->undoHistory(99), &editor->undoHistory(0));
    host.dispatch(effEditClose);
    editor->drawCurve();
    editor->showProgress(10.0);
    EXPECT_FALSE(editor->layers().created());
}

TEST(EditorLifecycle, IdleClearsThePendingUpdateWithoutPainting) {
    wowfix::test::PluginHost host;
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    EditorWindow* editor = host.plugin().editorWindow();
    wowfix::soft::deliverPaint(editor->mainWindow());
    InvalidateRect(editor->panelWindow(), nullptr, FALSE);
    host.setMode(4.0f);  // the parameter change asks for an update
    EXPECT_TRUE(editor->updatePending());
    host.dispatch(effEditIdle);
    EXPECT_FALSE(editor->updatePending());
    EXPECT_TRUE(editor->panelWindow()->invalid);
    // A paint validates the panel, so it does not repeat.
    UpdateWindow(editor->panelWindow());
    EXPECT_FALSE(editor->panelWindow()->invalid);
    host.dispatch(effEditClose);
}

TEST(EditorLifecycle, ThePluginGoesAwayWithItsWindowOpen) {
    {
        wowfix::test::PluginHost host;
        ASSERT_EQ(host.dispatch(effEditOpen), 1);
        EXPECT_EQ(EditorWindow::openWindows(), 1);
    }
    // The editor closed while the curve it cleans up still existed.
    EXPECT_EQ(EditorWindow::openWindows(), 0);
    EXPECT_EQ(wowfix::soft::classRegistrations(EditorWindow::kClassName), 0);
}

TEST(EditorLifecycle, TheEditCursorSurvivesTheNextPaint) {
    wowfix::test::PluginHost host;
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    EditorWindow* editor = host.plugin().editorWindow();
    wowfix::EditorView& view = host.plugin().headlessEditor().view();
    view.viewOrigin = 1000.0;
    view.viewLength = 10000.0;
    EXPECT_FALSE(editor->drawEditCursor(999.0));
    EXPECT_FALSE(editor->drawEditCursor(11000.0));
    ASSERT_TRUE(editor->drawEditCursor(6000.0));
    const int x = editor->layers().columnOfSample(5000.0, view.viewLength);
    InvalidateRect(editor->panelWindow(), nullptr, FALSE);
    UpdateWindow(editor->panelWindow());
    wowfix::soft::Picture panel;
    ASSERT_TRUE(wowfix::soft::takeSurface(editor->panelWindow(), panel));
    for (int y = 1; y < panel.height - 1; ++y) ASSERT_EQ(panel.pixels[static_cast<size_t>(y) * panel.width + x], 0u);
    host.dispatch(effEditClose);
}

TEST(EditorLifecycle, AParentThatIsNoWindowOpensNothing) {
    wowfix::test::PluginHost host;
    int notAWindow = 0;
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, &notAWindow), 0);
    EXPECT_EQ(EditorWindow::openWindows(), 0);
    EXPECT_EQ(wowfix::soft::classRegistrations(EditorWindow::kClassName), 0);
}

TEST(EditorLifecycle, TheWindowOpensAsAChildOfTheHostsWindow) {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.lpszClassName = "HostFrame";
    ASSERT_NE(RegisterClassA(&hostClass), 0);
    HWND frame = CreateWindowExA(0, "HostFrame", "host", WS_VISIBLE, 0, 0, 800, 500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    {
        wowfix::test::PluginHost host;
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, frame), 1);
        EXPECT_EQ(GetParent(host.plugin().editorWindow()->mainWindow()), frame);
        host.dispatch(effEditClose);
    }
    // The plug-in went away with its window open or not: the host's window stays.
    EXPECT_TRUE(IsWindow(frame));
    DestroyWindow(frame);
    UnregisterClassA("HostFrame", nullptr);
}

}  // namespace
