#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/UndoSteps.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace wowfix {
namespace {

using test::readText;
using test::ScratchFolder;
using test::writeText;

class Snapshots : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(curve.openTempFolder(scratch.file("base")));
        curve.initFlat(1000);
    }

    bool exists(const std::string& name) const { return fs::exists(curve.tempFolder() + name); }

    // An edit with a freshly selected tool.
    int editWithNewTool(int position, float value)
    {
        curve.markNewSnapshot();
        curve.insertPoint(position, value, false);
        return recordEdit(curve, history, undoKindPointInserted);
    }

    ScratchFolder scratch;
    PvcCurve curve;
    UndoHistory history;
};

TEST_F(Snapshots, FolderHasATrailingSeparatorAndNamesCarryTheSlot)
{
    const std::string& folder = curve.tempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\');
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(curve.undoAvailable());
    EXPECT_EQ(curve.undoMessage(), "");
    curve.setFileSlot(7);
    EXPECT_EQ(curve.snapshotPath(12), folder + "7~undopvc_12.dwt");
}

TEST_F(Snapshots, TwoSavesFromTheStartNumberZeroAndOne)
{
    ASSERT_TRUE(curve.saveSnapshot());
    ASSERT_TRUE(curve.saveSnapshot());
    EXPECT_TRUE(exists("0~undopvc_0.dwt"));
    EXPECT_TRUE(exists("0~undopvc_1.dwt"));
    EXPECT_EQ(curve.snapshotIndex(), 1);
    EXPECT_EQ(curve.snapshotCount(), 2);
    EXPECT_EQ(readText(curve.snapshotPath(0)), "0 1.000000\r\n999 1.000000\r\n");
    EXPECT_EQ(curve.filePath(), "");  // snapshots never change the curve's file
}

TEST_F(Snapshots, SaveAfterLoadingZeroRewritesOne)
{
    curve.saveSnapshot();
    curve.saveSnapshot();
    ASSERT_TRUE(curve.loadSnapshot(0));
    curve.insertPoint(500, 1.3f, false);
    ASSERT_TRUE(curve.saveSnapshot());
    EXPECT_EQ(curve.snapshotIndex(), 1);
    EXPECT_EQ(curve.snapshotCount(), 2);
    EXPECT_NE(readText(curve.snapshotPath(1)).find("500 1.300000"), std::string::npos);
}

TEST_F(Snapshots, UpdateOverwritesOrOpensANewSnapshot)
{
    ASSERT_TRUE(curve.saveSnapshot());
    curve.insertPoint(300, 1.2f, false);
    EXPECT_EQ(curve.updateSnapshot(), 1);
    EXPECT_EQ(curve.snapshotCount(), 1);
    EXPECT_NE(readText(curve.snapshotPath(0)).find("300 1.200000"), std::string::npos);

    curve.markNewSnapshot();
    curve.insertPoint(400, 1.2f, false);
    EXPECT_EQ(curve.updateSnapshot(), 2);
    EXPECT_FALSE(curve.newSnapshotPending());
    EXPECT_EQ(curve.snapshotIndex(), 1);
    EXPECT_EQ(curve.updateSnapshot(), 1);
}

TEST_F(Snapshots, FirstEditWithoutABaselineTakesItAsTheFirstState)
{
    curve.insertPoint(300, 1.2f, false);
    EXPECT_EQ(recordEdit(curve, history, undoKindPointInserted), 1);
    EXPECT_EQ(curve.snapshotIndex(), 0);
    EXPECT_EQ(history.position(), 0);
}

TEST_F(Snapshots, UndoAndRedoWalkTheSteps)
{
    ASSERT_TRUE(recordNewCurve(curve, history, undoKindImported));  // the first state
    EXPECT_EQ(history.position(), 0);
    ASSERT_EQ(editWithNewTool(200, 1.1f), 2);
    ASSERT_EQ(editWithNewTool(400, 1.2f), 2);
    EXPECT_EQ(history.position(), 2);
    EXPECT_EQ(curve.snapshotIndex(), 2);

    ASSERT_TRUE(undoStep(curve, history));
    EXPECT_EQ(curve.count(), 3);
    ASSERT_TRUE(undoStep(curve, history));
    EXPECT_EQ(curve.count(), 2);
    EXPECT_FALSE(undoStep(curve, history));
    ASSERT_TRUE(redoStep(curve, history));
    ASSERT_TRUE(redoStep(curve, history));
    EXPECT_EQ(curve.count(), 4);
    EXPECT_FALSE(redoStep(curve, history));
    EXPECT_EQ(curve.snapshotIndex(), history.position());
}

TEST_F(Snapshots, EditAfterUndoDropsTheRedoBranch)
{
    recordNewCurve(curve, history, undoKindImported);
    editWithNewTool(200, 1.1f);
    editWithNewTool(400, 1.2f);
    ASSERT_TRUE(undoStep(curve, history));
    // The same tool stays selected: no markNewSnapshot before this edit.
    curve.insertPoint(600, 0.9f, false);
    EXPECT_EQ(recordEdit(curve, history, undoKindPointInserted), 2);
    EXPECT_EQ(history.position(), 2);
    EXPECT_EQ(history.count(), 2);
    EXPECT_FALSE(redoStep(curve, history));
    // The edit survives an undo and redo.
    ASSERT_TRUE(undoStep(curve, history));
    ASSERT_TRUE(redoStep(curve, history));
    EXPECT_EQ(curve.valueAtPosition(600), 0.9f);
    EXPECT_NE(curve.valueAtPosition(400), 1.2f);
}

TEST_F(Snapshots, FailedLoadKeepsCurveAndNumbers)
{
    curve.saveSnapshot();
    curve.insertPoint(500, 1.4f, false);
    curve.updateSnapshot();
    ASSERT_TRUE(curve.saveSnapshot());
    fs::remove(curve.snapshotPath(0));
    writeText(curve.snapshotPath(3), "not a curve\n");
    for (int number : {0, 3, 7, -1, 100000}) {
        EXPECT_FALSE(curve.loadSnapshot(number)) << number;
        EXPECT_EQ(curve.snapshotIndex(), 1);
        EXPECT_EQ(curve.count(), 3);
        EXPECT_EQ(curve.valueAtPosition(500), 1.4f);
    }

    // The history does not move either.
    history.push(undoKindPointMoved);
    EXPECT_FALSE(undoStep(curve, history));
    EXPECT_EQ(history.position(), 1);
}

TEST_F(Snapshots, FailedSaveRecordsNothing)
{
    ASSERT_TRUE(recordNewCurve(curve, history, undoKindImported));
    // The file name of the next snapshot is taken by a folder: the write
    // cannot replace it.
    fs::create_directory(curve.snapshotPath(1));
    curve.insertPoint(500, 1.4f, false);
    curve.markNewSnapshot();
    EXPECT_EQ(recordEdit(curve, history, undoKindPointInserted), 0);
    EXPECT_EQ(history.position(), 0);
    EXPECT_EQ(curve.snapshotIndex(), 0);
    EXPECT_EQ(curve.snapshotCount(), 1);
    EXPECT_TRUE(curve.newSnapshotPending());  // the next try opens the step again
    EXPECT_FALSE(recordNewCurve(curve, history, undoKindPilotTone));
    EXPECT_EQ(history.position(), 0);
    EXPECT_EQ(curve.valueAtPosition(500), 1.4f);  // the edit stays in memory
}

TEST_F(Snapshots, AtTheStepLimitTheNewestCurveOverwritesTheLastSnapshot)
{
    ASSERT_TRUE(recordNewCurve(curve, history, undoKindImported));
    for (int step = 1; step <= maxUndoSteps; ++step)
        ASSERT_EQ(editWithNewTool(step, 1.0f + step * 0.0005f), 2) << step;
    EXPECT_EQ(history.position(), 511);
    EXPECT_EQ(curve.snapshotIndex(), 511);

    // Step 512: nothing unreachable is opened; snapshot 511 takes the curve.
    EXPECT_EQ(editWithNewTool(600, 1.9f), 1);
    EXPECT_EQ(history.position(), 511);
    EXPECT_EQ(curve.snapshotIndex(), 511);
    EXPECT_EQ(curve.snapshotCount(), 512);
    EXPECT_FALSE(exists("0~undopvc_512.dwt"));
    EXPECT_NE(readText(curve.snapshotPath(511)).find("600 1.900000"), std::string::npos);

    ASSERT_TRUE(undoStep(curve, history));
    EXPECT_EQ(curve.count(), 2 + 510);
    ASSERT_TRUE(redoStep(curve, history));
    EXPECT_EQ(curve.valueAtPosition(600), 1.9f);
}

TEST_F(Snapshots, ReturningToAFileRestoresItsPositionAndCount)
{
    UndoHistory other;
    recordNewCurve(curve, history, undoKindImported);
    editWithNewTool(200, 1.1f);
    editWithNewTool(400, 1.2f);
    ASSERT_TRUE(undoStep(curve, history));  // the user leaves the file at step 1 of 2
    const int kept = curve.snapshotCount();

    curve.setFileSlot(1);
    curve.resetSnapshots();
    curve.setFileSlot(1);
    curve.initFlat(1000);
    recordNewCurve(curve, other, undoKindImported);

    curve.setFileSlot(0);
    ASSERT_TRUE(restoreFileState(curve, history, kept));
    EXPECT_EQ(curve.snapshotIndex(), 1);
    EXPECT_EQ(curve.snapshotCount(), 3);
    EXPECT_EQ(curve.count(), 3);
    // The next edit follows step 1 and drops the old step 2.
    EXPECT_EQ(editWithNewTool(700, 0.95f), 2);
    EXPECT_EQ(curve.snapshotIndex(), 2);
    EXPECT_EQ(curve.snapshotCount(), 3);
    EXPECT_NE(readText(curve.snapshotPath(2)).find("700 0.950000"), std::string::npos);
    // Slot 1's own first snapshot was not touched.
    EXPECT_TRUE(exists("1~undopvc_0.dwt"));
}

TEST_F(Snapshots, DeleteRemovesOnlyOurOwnNames)
{
    EXPECT_TRUE(curve.deleteAllSnapshots());  // nothing there: fine
    curve.saveSnapshot();
    curve.setFileSlot(3);
    curve.saveSnapshot();
    const std::string folder = curve.tempFolder();
    for (const char* foreign : {"notes.dwt", "x~undopvc_1.dwt", "0~undopvc_1.dwt.txt", "song.wav",
                                "0~undopvc_.dwt"})
        writeText(folder + foreign, "keep");
    writeText(folder + "0~undopvc_5.dwt.1a2b.part", "left over by a cut write");

    EXPECT_TRUE(curve.deleteAllSnapshots());
    EXPECT_EQ(curve.snapshotIndex(), -1);
    EXPECT_EQ(curve.snapshotCount(), 0);
    EXPECT_FALSE(exists("0~undopvc_0.dwt"));
    EXPECT_FALSE(exists("3~undopvc_1.dwt"));
    EXPECT_FALSE(exists("0~undopvc_5.dwt.1a2b.part"));
    for (const char* foreign : {"notes.dwt", "x~undopvc_1.dwt", "0~undopvc_1.dwt.txt", "song.wav",
                                "0~undopvc_.dwt"})
        EXPECT_TRUE(exists(foreign)) << foreign;
}

TEST_F(Snapshots, RemovingTheFolderAndComingBack)
{
    curve.saveSnapshot();
    const std::string folder = curve.tempFolder();
    EXPECT_TRUE(curve.removeTempFolder());
    EXPECT_FALSE(fs::exists(folder));
    // The editor reopens and takes a fresh first snapshot.
    ASSERT_TRUE(curve.saveSnapshot());
    EXPECT_TRUE(exists("0~undopvc_0.dwt"));
}

TEST(SnapshotInstances, TwoInstancesKeepTheirOwnSnapshots)
{
    ScratchFolder scratch;
    const std::string base = scratch.file("shared");
    PvcCurve first;
    PvcCurve second;
    ASSERT_TRUE(first.openTempFolder(base));
    ASSERT_TRUE(second.openTempFolder(base));
    EXPECT_NE(first.tempFolder(), second.tempFolder());

    first.initFlat(100);
    second.initFlat(200);
    second.insertPoint(50, 1.5f, false);
    ASSERT_TRUE(first.saveSnapshot());
    ASSERT_TRUE(second.saveSnapshot());
    // Same slot, same number, different files.
    EXPECT_NE(first.snapshotPath(0), second.snapshotPath(0));

    EXPECT_TRUE(first.removeTempFolder());
    ASSERT_TRUE(second.loadSnapshot(0));
    EXPECT_EQ(second.count(), 3);
    EXPECT_EQ(second.valueAtPosition(50), 1.5f);
    EXPECT_TRUE(fs::is_directory(second.tempFolder()));
}

TEST(SnapshotFolder, UnusableFolderMeansNoUndoButTheCurveWorks)
{
    ScratchFolder scratch;
    writeText(scratch.file("file"), "x");
    const std::string base = scratch.file("file") + "/below";
    PvcCurve curve;
    EXPECT_FALSE(curve.openTempFolder(base));
    EXPECT_FALSE(curve.undoAvailable());
    EXPECT_NE(curve.undoMessage().find(base), std::string::npos);
    EXPECT_EQ(curve.tempFolder(), "");

    curve.initFlat(100);
    curve.insertPoint(50, 1.2f, false);
    UndoHistory history;
    EXPECT_FALSE(curve.saveSnapshot());
    EXPECT_EQ(recordEdit(curve, history, undoKindPointInserted), 0);
    EXPECT_EQ(history.position(), 0);
    EXPECT_FALSE(curve.loadSnapshot(0));
    EXPECT_TRUE(curve.deleteAllSnapshots());
    EXPECT_EQ(curve.count(), 3);

    // A folder that vanishes and cannot come back is reported as well.
    PvcCurve lost;
    lost.setTempFolder(base);
    EXPECT_TRUE(lost.undoAvailable());
    lost.initFlat(10);
    EXPECT_FALSE(lost.saveSnapshot());
    EXPECT_FALSE(lost.undoAvailable());
    EXPECT_FALSE(lost.undoMessage().empty());
}

TEST(SnapshotFolder, HostFileNamesAreReducedToOneSafeName)
{
    PvcCurve curve;
    EXPECT_EQ(curve.tempCurvePath("song.wav"), "");
    curve.setTempFolder("/some/folder");
    EXPECT_EQ(curve.tempFolder(), "/some/folder/");
    EXPECT_EQ(curve.tempCurvePath("song.wav"), "/some/folder/song.wav.pvc");
    EXPECT_EQ(curve.tempCurvePath("../../etc/passwd"), "/some/folder/passwd.pvc");
    EXPECT_EQ(curve.tempCurvePath("D:\\takes\\..\\a.wav"), "/some/folder/a.wav.pvc");
    EXPECT_EQ(curve.tempCurvePath(".."), "/some/folder/unnamed.pvc");
}

}  // namespace
}  // namespace wowfix
