// The task handshake with a scripted host: the start picture, the first pass
// of a new file, requested passes and tasks, hosts that answer at once, from
// inside a task, late or never, several files and their undo state.

#include "PluginHost.h"

#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "host/VendorCommands.h"
#include "tests/pvc/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wowfix {
namespace {

using test::PluginHost;
constexpr int kFrames = 4410;

class TaskHandshake : public ::testing::Test {
protected:
    void SetUp() override { host.openFile(1, kFrames); }
    HeadlessEditor& editor() { return host.plugin().headlessEditor(); }
    EditorWindow& window() { return *host.plugin().editorWindow(); }
    bool shown(int id) { return IsWindowVisible(window().control(id)) != FALSE; }
    bool enabled(int id) { return IsWindowEnabled(window().control(id)) != FALSE; }
    void clickPanel() { ASSERT_TRUE(soft::drag(window().panelWindow(), 50, 50, 50, 50)); }
    // An edit of the open file's curve: one snapshot and one undo step.
    void edit() {
        ASSERT_TRUE(host.plugin().curve().saveSnapshot());
        ASSERT_TRUE(editor().history().push(undoKindPointMoved));
    }
    PluginHost host;
};

TEST_F(TaskHandshake, TheStartPictureWaitsForTheFirstClickThenTheNewFileIsAcquiredOnce) {
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    host.notify();
    EXPECT_EQ(editor().notifyState(), 1);
    EXPECT_EQ(window().tool(), 8);
    for (int id : {72, 13, 21, 73, 78, 96}) EXPECT_FALSE(shown(id)) << id;
    host.notify();  // before the click: nothing changes
    EXPECT_TRUE(host.starts.empty());
    EXPECT_FALSE(shown(72));
    clickPanel();
    EXPECT_EQ(editor().notifyState(), 2);
    EXPECT_EQ(host.queries, 1);
    for (int id : {72, 13, 21, 73, 96, 100, 101}) EXPECT_TRUE(shown(id)) << id;
    host.file.editCursorPosition = 1000;
    host.notify();
    ASSERT_EQ(host.starts.size(), 1u);
    const VstInt32 flags = kVstOfflineCanProcessSelection | kVstOfflineWantRead | kVstOfflineNoChannelChange;
    EXPECT_EQ(host.starts[0].fileFlags, flags);
    EXPECT_EQ(host.starts[0].ran, 1);
    EXPECT_TRUE(editor().firstPassDone());
    EXPECT_EQ(editor().editCursor(), 1000);
    EXPECT_EQ(window().algorithm(), 8);
    EXPECT_EQ(window().tool(), 0);
    EXPECT_EQ(host.mode(), 2.0f);
    // Unchanged file, nothing pending: only the selection and the cursor.
    host.file.selectionStart = 100;
    host.file.editCursorPosition = 2000;
    host.notify();
    EXPECT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(editor().selectionStart(), 100);
    EXPECT_EQ(editor().editCursor(), 2000);
    // Reopened on the same file: the first click asks for the pass.
    host.dispatch(effEditClose);
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    host.notify();
    EXPECT_EQ(editor().notifyState(), 1);
    clickPanel();
    host.notify();
    ASSERT_EQ(host.starts.size(), 2u);
    EXPECT_NE(host.starts[1].fileFlags & kVstOfflineWantSelect, 0);
    host.dispatch(effEditClose);
}

TEST_F(TaskHandshake, APassAndATaskRequestedTogetherBothStartAndTheChainEnds) {
    host.notify();
    editor().requestPass();
    ASSERT_TRUE(editor().requestTask(kCentreOfGravity));
    EXPECT_TRUE(editor().requestTask(kCentreOfGravity));  // a second request: still one task
    host.notifyOnQuery = true;
    host.notify();
    ASSERT_EQ(host.starts.size(), 2u);
    EXPECT_NE(host.starts[0].fileFlags & kVstOfflineWantSelect, 0);  // the pass first
    const VstInt32 taskFlags = kVstOfflineCanProcessSelection | kVstOfflineWantRead;
    EXPECT_EQ(host.starts[1].fileFlags & taskFlags, taskFlags);
    EXPECT_EQ(editor().pendingTask(), kNoTask);
    EXPECT_EQ(host.mode(), 2.0f);
    // One re-query after the starts; its notification only takes the selection.
    EXPECT_EQ(host.queries, 4);
}

TEST_F(TaskHandshake, AHostNotifyingFromInsideTheTaskStartsItOnce) {
    host.notify();
    host.notifyInsideRead = true;
    host.notifyOnQuery = true;
    ASSERT_TRUE(editor().requestTask(kWholeFileAcquisition));
    EXPECT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].ran, 1);
    EXPECT_EQ(editor().pendingTask(), kNoTask);
    EXPECT_FALSE(host.plugin().busy());
}

TEST_F(TaskHandshake, ARefusedStartIsNotRepeatedAndAnUnansweredRequestIsDropped) {
    host.notify();
    host.refuseStart = true;
    ASSERT_TRUE(editor().requestTask(kCentreOfGravity));
    host.notify();
    EXPECT_EQ(host.queries, 1);  // no re-query after the refusal
    EXPECT_EQ(host.message(), "The host did not start the task.");
    host.refuseStart = false;
    host.notify();
    EXPECT_TRUE(host.starts.empty());
    // A host that never answers: sent again once, then dropped.
    editor().requestPass();
    const auto asked = HeadlessEditor::Clock::now();
    editor().idle(asked + HeadlessEditor::kAnswerTimeout / 2);
    EXPECT_EQ(host.queries, 2);
    editor().idle(asked + HeadlessEditor::kAnswerTimeout * 2);
    EXPECT_EQ(host.queries, 3);
    editor().idle(asked + HeadlessEditor::kAnswerTimeout * 5);
    EXPECT_EQ(editor().pendingTask(), kNoTask);
    host.notify();
    EXPECT_TRUE(host.starts.empty());
}

TEST_F(TaskHandshake, RatesAreComparedInWholeHertzAndAChangedRateGivesOnePass) {
    host.file.sampleRate = 44100.5;
    host.notify();
    ASSERT_TRUE(editor().requestTask(kWholeFileAcquisition));
    host.notify();
    ASSERT_EQ(host.starts.size(), 1u);
    for (int i = 0; i < 3; ++i) host.notify();
    EXPECT_EQ(host.starts.size(), 1u);
    host.file.sampleRate = 48000.0;
    host.notify();
    host.notify();
    EXPECT_EQ(host.starts.size(), 2u);
}

TEST_F(TaskHandshake, WhileATaskRunsNothingIsReleasedAndTheRestWaits) {
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    host.notify();
    clickPanel();
    int reads = 0;
    host.duringRead = [&] {
        if (reads++ > 0) return;
        EXPECT_TRUE(host.plugin().busy());
        EXPECT_FALSE(editor().requestTask(kCentreOfGravity));
        char path[] = "elsewhere.pvc";
        EXPECT_EQ(host.command(vendor::kSetPvcPath, path), 0);  // a script waits too
        soft::clickControl(window().mainWindow(), 72, 4);  // refused
        soft::clickControl(window().mainWindow(), 17);     // zoom in: put off
        EXPECT_EQ(editor().pendingTask(), kNoTask);
    };
    host.notify();
    ASSERT_GT(reads, 0);
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].ran, 1);
    EXPECT_EQ(window().algorithm(), 8);
    host.dispatch(effEditIdle);
    EXPECT_EQ(editor().pendingTask(), kViewAcquisition);
    // Closed while the pass runs: the pass completes, the snapshots go after it.
    reads = 0;
    host.duringRead = [&] {
        if (reads++ == 0) host.dispatch(effEditClose);
    };
    host.notify();
    ASSERT_EQ(host.starts.size(), 2u);
    EXPECT_EQ(host.starts[1].ran, 1);
    EXPECT_EQ(host.plugin().curve().snapshotCount(), 0);
}

TEST_F(TaskHandshake, EachFileKeepsItsUndoStateUntilTheSnapshotsAreDeleted) {
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    std::vector<VstAudioFile> files(2, host.file);
    files[0].uniqueId = 0;  // an id of 0 is a file like any other
    files[1].uniqueId = 123456;
    host.notifyFiles(files);
    clickPanel();
    host.notifyFiles(files);
    EXPECT_TRUE(host.plugin().fileRegistry().hasOpenFile());
    edit();
    std::swap(files[0], files[1]);
    host.notifyFiles(files);
    EXPECT_FALSE(enabled(78));
    const int slot = host.plugin().curve().fileSlot();
    EXPECT_TRUE(slot >= 0 && slot < FileSlotMap::slotCount);
    std::swap(files[0], files[1]);
    host.notifyFiles(files);
    EXPECT_TRUE(enabled(78));
    EXPECT_EQ(editor().history().position(), 1);
    // Twenty files in turn never index past the sixteen histories.
    for (int id = 1000; id < 1020; ++id) {
        files[0].uniqueId = id;
        host.notifyFiles(files);
        ASSERT_LT(host.plugin().curve().fileSlot(), FileSlotMap::slotCount);
    }
    // No file any more: every history and count starts again.
    ASSERT_TRUE(editor().requestTask(kCentreOfGravity));
    host.dispatch(effOfflineNotify, 0, 0, nullptr);
    EXPECT_EQ(editor().pendingTask(), kNoTask);
    EXPECT_FALSE(enabled(78));
    for (int s = 0; s < FileSlotMap::slotCount; ++s) EXPECT_FALSE(editor().historyOfSlot(s).canUndo());
    files[0].uniqueId = 0;
    host.notifyFiles(files);
    EXPECT_EQ(host.plugin().fileRegistry().snapshotCountOf(0), 0);
    host.dispatch(effEditClose);
}

TEST_F(TaskHandshake, AnImportIsOneUndoStepAndAnUnreadableFileKeepsTheCurve) {
    test::ScratchFolder folder;
    host.notify();
    ASSERT_TRUE(editor().requestTask(kWholeFileAcquisition));
    host.notify();
    const int points = host.plugin().curve().count();
    const int position = editor().history().position();
    ASSERT_TRUE(editor().requestImport(folder.file("missing.pvc")));
    host.notify();
    EXPECT_EQ(host.plugin().curve().count(), points);
    EXPECT_EQ(editor().history().position(), position);
    EXPECT_NE(host.message().find("could not be read"), std::string::npos);
    std::ofstream(folder.file("good.pvc")) << "0 1.0\n1000 1.01\n2000 0.99\n";
    ASSERT_TRUE(editor().requestImport(folder.file("good.pvc")));
    host.notify();
    EXPECT_GE(host.plugin().curve().count(), 3);
    EXPECT_EQ(editor().history().position(), position + 1);
}

}  // namespace
}  // namespace wowfix
