// A host that runs the task on a thread of its own while the window's thread
// keeps painting, idling and clicking: the panel ends as with a host that
// runs the task at once, the commands wait or are refused, and (under
// ThreadSanitizer, -DWOWFIX_TSAN=ON) nothing is shared without order.

#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using wowfix::EditorWindow;
using wowfix::test::PluginHost;

constexpr int kFrames = 88200;

// Opens the window on a stereo file, clicks the start picture away and lets
// the host's next notification start the file's first pass.
void startFirstPass(PluginHost& host) {
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    host.openFile(2, kFrames);
    host.notify();
    ASSERT_TRUE(wowfix::soft::drag(host.plugin().editorWindow()->panelWindow(), 40, 40, 40, 40));
    host.notify();
}

wowfix::soft::Picture panelOf(PluginHost& host) {
    EditorWindow* editor = host.plugin().editorWindow();
    host.dispatch(effEditIdle);
    editor->repaintPanel();
    wowfix::soft::Picture picture;
    EXPECT_TRUE(wowfix::soft::takeSurface(editor->panelWindow(), picture));
    return picture;
}

TEST(EditorThreads, APassOnTheHostsThreadEndsInThePictureOfOneRunAtOnce) {
    PluginHost direct;
    startFirstPass(direct);
    ASSERT_EQ(direct.starts.size(), 1u);
    const wowfix::soft::Picture expected = panelOf(direct);

    PluginHost host;
    host.runOnWorker = true;
    // The task holds at its first read until the window's thread has tried
    // its commands.
    std::atomic<bool> reading{false}, released{false};
    host.duringRead = [&] {
        reading = true;
        while (!released) std::this_thread::yield();
    };
    startFirstPass(host);
    EditorWindow* editor = host.plugin().editorWindow();
    auto paint = [&] {
        host.dispatch(effEditIdle);
        InvalidateRect(editor->panelWindow(), nullptr, FALSE);
        UpdateWindow(editor->panelWindow());
    };
    while (!reading) std::this_thread::yield();
    ASSERT_TRUE(host.plugin().busy());
    wowfix::soft::clickControl(editor->mainWindow(), 72, 4);  // refused while busy
    wowfix::soft::clickControl(editor->mainWindow(), 17);     // put off while busy
    paint();
    released = true;
    while (host.plugin().busy()) paint();
    host.waitForTask();
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].ran, 1);
    EXPECT_EQ(editor->algorithm(), 8);
    const wowfix::soft::Picture picture = panelOf(host);
    EXPECT_EQ(picture.pixels, expected.pixels);
    // The zoom waited for the task's end and then asked for its pass.
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kViewAcquisition);
    host.dispatch(effEditClose);
    direct.dispatch(effEditClose);
}

TEST(EditorThreads, TheWindowClosesWhileTheTaskStillDraws) {
    PluginHost host;
    host.runOnWorker = true;
    startFirstPass(host);
    host.dispatch(effEditClose);
    host.waitForTask();
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].ran, 1);
    EXPECT_EQ(host.plugin().curve().snapshotCount(), 0);
}

}  // namespace
