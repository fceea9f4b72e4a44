// A host that runs the task on a thread of its own while the window's thread
// keeps painting, idling and clicking: the panel ends as with a host that
// runs the task at once, the commands wait or are refused, and (under
// ThreadSanitizer, -DWOWFIX_TSAN=ON) nothing is shared without order.

#include "editor/EditorWindow.h"
#include "editor/HeadlessWindowActions.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

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

// A scripted click that comes while a task runs waits for its end like a
// user's; the message box it then raises still answers itself rather than
// wait for a user on the screen.
int askedOnTheScreen = 0;
int screenBox(const char*, const char*, UINT) {
    ++askedOnTheScreen;
    return IDNO;
}

wowfix::vendor::EditorAction scripted(std::int32_t kind, int id, const char* path = nullptr) {
    wowfix::vendor::EditorAction action{};
    action.size = sizeof action;
    action.kind = kind;
    action.id = id;
    action.item = -1;
    action.path = path;
    return action;
}

TEST(EditorThreads, AScriptedClickPutOffWhileBusyAnswersItsBoxItself) {
    namespace fs = std::filesystem;
    const fs::path file = fs::temp_directory_path() /
                          ("wowfix-put-off-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".pvc");
    std::ofstream(file) << "old contents\n";
    PluginHost host;
    host.runOnWorker = true;
    std::atomic<bool> hold{false}, reading{false}, released{false};
    host.duringRead = [&] {
        if (!hold) return;
        reading = true;
        while (!released) std::this_thread::yield();
    };
    startFirstPass(host);
    host.waitForTask();
    EditorWindow* editor = host.plugin().editorWindow();
    host.dispatch(effEditIdle);
    ASSERT_FALSE(host.plugin().busy());
    // "Zoom x2" asks for a pass, which holds at its first read.
    hold = true;
    ASSERT_TRUE(wowfix::soft::clickControl(editor->mainWindow(), 98));
    host.notify();
    while (!reading) std::this_thread::yield();
    ASSERT_TRUE(host.plugin().busy());
    wowfix::soft::setInteractiveMessageBox(screenBox);
    askedOnTheScreen = 0;
    wowfix::soft::takeMessageBoxes();
    // "Export PVC" onto the file there, answered beforehand: put off.
    const std::string path = file.string();
    EXPECT_TRUE(wowfix::applyEditorAction(*editor, scripted(wowfix::vendor::kAnswerDialog, -1, path.c_str())));
    EXPECT_TRUE(wowfix::applyEditorAction(*editor, scripted(wowfix::vendor::kClickControl, 74)));
    EXPECT_TRUE(wowfix::soft::takeMessageBoxes().empty());
    released = true;
    while (host.plugin().busy()) host.dispatch(effEditIdle);
    host.waitForTask();
    host.dispatch(effEditIdle);
    // "Replace it?" answered Yes by itself, not by the user's No.
    const std::vector<std::string> boxes = wowfix::soft::takeMessageBoxes();
    EXPECT_EQ(askedOnTheScreen, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("already exists"), std::string::npos) << boxes[0];
    std::ifstream written(file);
    std::string first;
    std::getline(written, first);
    EXPECT_NE(first, "old contents");
    wowfix::soft::setInteractiveMessageBox(nullptr);
    host.dispatch(effEditClose);
    fs::remove(file);
}

}  // namespace
