#include "PluginHost.h"

#include "host/HeadlessEditor.h"
#include "host/VendorCommands.h"
#include "tests/pvc/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace wowfix {
namespace {

using test::PluginHost;
using Selection = test::MemoryHost::Selection;
constexpr int kFrames = 3000;

class OfflinePrepare : public ::testing::Test {
protected:
    VstIntPtr prepare(int count) { return host.dispatch(effOfflinePrepare, 0, count, records.data()); }
    VstIntPtr run() { return host.dispatch(effOfflineRun, 0, records.count(), records.data()); }
    // A stereo source at 48 kHz and its new file, as a host hands them over.
    void sourceAndNewFile() {
        VstOfflineTask& source = records.add(2, host.blockSize, 0);
        source.sourceSampleRate = 48000.0;
        source.numFramesInSourceFile = source.numFramesToProcess = kFrames;
        source.plugOwned = &host.plugin().curve();
        records.add(0, 0, 0).index = 5;
    }
    PluginHost host;
    test::TaskRecords records;
};

TEST_F(OfflinePrepare, CorrectionNeedsItsNewFileAndDescribesItLikeTheSource) {
    EXPECT_EQ(prepare(0), 0);
    sourceAndNewFile();
    host.setMode(2.7f);
    EXPECT_EQ(prepare(1), 0);
    ASSERT_EQ(prepare(2), 1);
    EXPECT_STREQ(records[0].processName, "Tavelin");
    const VstOfflineTask& target = records[1];
    const VstInt32 flags = kVstOfflineFloatOutputFile | kVstOfflineStretch;
    EXPECT_EQ(target.flags & flags, flags);
    EXPECT_EQ(target.numSourceChannels, 2);
    EXPECT_EQ(target.numDestinationChannels, 2);
    EXPECT_EQ(target.sourceSampleRate, 48000.0);
    EXPECT_EQ(target.destinationSampleRate, 48000.0);
    EXPECT_EQ(target.index, 0);
}

TEST_F(OfflinePrepare, SelectionTaskAsksForNoThread) {
    records.add(1, 16, 0);
    host.setMode(9.0f);
    ASSERT_EQ(prepare(1), 1);
    EXPECT_STREQ(records[0].processName, "Set Cursor / Marker / Selection");
    EXPECT_NE(records[0].flags & kVstOfflineNoThread, 0);
}

TEST_F(OfflinePrepare, UnknownAndIdleModesSucceedWithoutAnyHostCall) {
    records.add(1, 16, 0);
    for (float mode : {0.0f, 5.0f, 6.0f, 12.0f, std::nanf(""), 1e30f}) {
        host.setMode(mode);
        EXPECT_EQ(prepare(1), 1) << mode;
        EXPECT_EQ(run(), 1) << mode;
        EXPECT_STREQ(records[0].processName, "") << mode;
    }
    EXPECT_EQ(host.offlineCalls, 0);
}

TEST_F(OfflinePrepare, RunKeepsTheModeThatWasPrepared) {
    host.openFile(2, kFrames);
    sourceAndNewFile();
    host.setMode(2.0f);
    ASSERT_EQ(prepare(2), 1);
    host.setMode(1.0f);
    records.setOutput(records[1], 2, host.blockSize);
    EXPECT_EQ(run(), 1) << host.message();
    ASSERT_EQ(host.audio.written.size(), 2u);
    EXPECT_EQ(host.audio.framesWritten(), kFrames);
}

class Handshake : public ::testing::Test {
protected:
    void SetUp() override { host.openFile(1, kFrames); }
    PluginHost host;
    test::ScratchFolder scratch;
};

TEST_F(Handshake, ProcessRequestStartsTheCorrectionOnlyOnceAFileWasReported) {
    EXPECT_EQ(host.notify(true), 0);
    EXPECT_TRUE(host.starts.empty());
    EXPECT_NE(host.message(), "");
    EXPECT_EQ(host.notify(), 1);
    EXPECT_EQ(host.notify(true), 1);
    ASSERT_EQ(host.starts.size(), 1u);
    const PluginHost::Start& s = host.starts[0];
    EXPECT_EQ(s.newFiles, 1);
    EXPECT_NE(s.fileFlags & kVstOfflineWantRead, 0);
    EXPECT_EQ(s.plugOwned, &host.plugin().curve());
    EXPECT_EQ(s.processName, "Tavelin");
    EXPECT_EQ(s.ran, 1) << host.message();
    EXPECT_EQ(host.audio.framesWritten(), kFrames);
}

TEST_F(Handshake, ThreeChannelFileIsRecordedButRefused) {
    host.openFile(3, kFrames, 42, "surround.wav");
    EXPECT_EQ(host.notify(), 0);
    EXPECT_EQ(host.plugin().headlessEditor().fileName(), "surround.wav");
    EXPECT_EQ(host.plugin().taskState().channels, 3);
    EXPECT_EQ(host.plugin().fileRegistry().openFileId, 42);
}

TEST_F(Handshake, LoadedCurveIsWhatTheProcessRequestCorrectsAlong) {
    const std::string path = scratch.file("speed.pvc");
    test::writeText(path, "0 1.0\n1500 1.04\n2999 1.0\n");
    vendor::CurveFile curveFile{sizeof(vendor::CurveFile), path.c_str(), kFrames};
    ASSERT_EQ(host.command(vendor::kLoadCurve, &curveFile), 1);
    EXPECT_TRUE(host.plugin().pvcReady());
    host.notify();
    ASSERT_EQ(host.notify(true), 1);
    EXPECT_NEAR(host.audio.framesWritten(), kFrames * 1.02, 2.0);
}

TEST_F(Handshake, MissingCurveFileGivesAFlatCurveAndSaysSo) {
    const std::string path = scratch.file("missing.pvc");
    vendor::CurveFile curveFile{sizeof(vendor::CurveFile), path.c_str(), kFrames};
    EXPECT_EQ(host.command(vendor::kLoadCurve, &curveFile), 0);
    const PvcCurve& curve = host.plugin().curve();
    EXPECT_EQ(curve.length(), kFrames);
    ASSERT_EQ(curve.count(), 2);
    EXPECT_EQ(curve.valueAt(0), 1.0f);
    EXPECT_EQ(curve.valueAt(1), 1.0f);
    EXPECT_NE(host.message().find(path), std::string::npos) << host.message();
    curveFile.size = 4;  // a record shorter than the plug-in knows
    EXPECT_EQ(host.command(vendor::kLoadCurve, &curveFile), 0);
}

TEST_F(Handshake, RequestedAcquisitionStartsFromTheNextNotification) {
    host.notify();
    ASSERT_EQ(host.command(vendor::kRequestTask, nullptr, 1.0f), 1);
    EXPECT_EQ(host.queries, 1);
    EXPECT_TRUE(host.starts.empty());
    host.notify();
    ASSERT_EQ(host.starts.size(), 1u);
    const VstInt32 flags = kVstOfflineCanProcessSelection | kVstOfflineWantRead | kVstOfflineNoChannelChange;
    EXPECT_EQ(host.starts[0].fileFlags & flags, flags);
    EXPECT_EQ(host.starts[0].newFiles, 0);
    EXPECT_EQ(host.starts[0].processName, "Varnel");
    EXPECT_EQ(host.starts[0].ran, 1) << host.message();
    EXPECT_EQ(host.audio.framesRead(), kFrames);
    EXPECT_EQ(host.mode(), 2.0f);
    EXPECT_TRUE(host.plugin().pvcReady());
    EXPECT_EQ(host.plugin().curve().length(), kFrames);
    EXPECT_GT(host.plugin().headlessEditor().columnsDrawn(), 0);
    EXPECT_EQ(host.command(vendor::kRequestTask, nullptr, std::nanf("")), 0);
    EXPECT_EQ(host.queries, 1);
}

TEST_F(Handshake, RequestedSelectionTaskSetsTheLastSeenSelection) {
    host.file.selectionStart = 100;
    host.file.selectionSize = 300;
    host.notify();
    ASSERT_EQ(host.command(vendor::kRequestTask, nullptr, 9.0f), 1);
    host.notify();
    ASSERT_EQ(host.starts.size(), 1u);
    const VstInt32 flags = kVstOfflineWantWriteMarker | kVstOfflineWantMoveCursor | kVstOfflineWantSelect;
    EXPECT_EQ(host.starts[0].fileFlags & flags, flags);
    EXPECT_NE(host.starts[0].taskFlags & kVstOfflineNoThread, 0);
    EXPECT_EQ(host.starts[0].ran, 1);
    EXPECT_EQ(host.audio.selections, (std::vector<Selection>{{100, 300, -1}}));
    EXPECT_EQ(host.mode(), 1.0f);
}

TEST(PluginInstances, KeepTheirSnapshotsApart) {
    namespace fs = std::filesystem;
    auto first = std::make_unique<PluginHost>();
    PvcCurve& curve = first->plugin().curve();
    curve.initFlat(100);
    ASSERT_TRUE(curve.saveSnapshot());
    const std::string kept = curve.snapshotPath(0);
    std::string otherFolder;
    {
        PluginHost second;
        otherFolder = second.plugin().curve().tempFolder();
        EXPECT_NE(otherFolder, curve.tempFolder());
        second.openFile(1, 500);
        second.notify();
        second.plugin().curve().initFlat(500);
        ASSERT_TRUE(second.plugin().curve().saveSnapshot());
        second.dispatch(effOfflineNotify, 0, 0, nullptr);  // no files: its snapshots go
        EXPECT_EQ(second.plugin().fileRegistry().openFileId, 0);
    }
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_FALSE(fs::exists(otherFolder));
    first.reset();
    EXPECT_FALSE(fs::exists(kept));
}

}  // namespace
}  // namespace wowfix
