// The hum-library detection over an in-memory host with our hum libraries:
// the curve it makes of their ratios, the spectrogram it draws on the way,
// and its failures.

#include "tasks/LibraryDetectionTask.h"

#include "TaskRig.h"
#include "detectors/DetectorParamStore.h"
#include "pvc/UndoSteps.h"
#include "tasks/ProcessingLibrary.h"
#include "tests/pvc/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

namespace wowfix {
namespace {

constexpr double kRate = 48000.0;
constexpr int kColumns = 40;
constexpr int kFrames = 48000;
constexpr int kBlock = 8192;

// A steady hum of `frequency` Hz.
std::vector<float> hum(int frames, double frequency = 50.0) {
    std::vector<float> out(static_cast<size_t>(frames));
    for (int n = 0; n < frames; ++n)
        out[static_cast<size_t>(n)] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * frequency * n / kRate));
    return out;
}

struct LibraryRun : test::TaskRig {
    explicit LibraryRun(std::vector<std::vector<float>> channels)
        : TaskRig(512, kRate, kColumns), library(params, HUM_LIBRARY_FOLDER) {
        host.source = std::move(channels);
        editor.view_.totalSamples = host.frames();
    }
    bool run() {
        VstOfflineTask& task = records.add(static_cast<int>(host.source.size()), kBlock, 0);
        task.numFramesInSourceFile = host.frames();
        task.sourceSampleRate = kRate;
        return runLibraryDetection(context, task, library);
    }

    DetectorParamStore params;
    ProcessingLibrary library;
};

TEST(LibraryDetectionTask, AHumOffItsNominalFrequencyGivesTheirRatioAsOneUndoStep) {
    LibraryRun run({hum(kFrames, 50.5)});
    ASSERT_TRUE(run.library.createLibraryInstance(static_cast<float>(kRate))) << run.library.message();
    test::ScratchFolder scratch;
    ASSERT_TRUE(run.curve.openTempFolder(scratch.file("undo")));
    run.curve.initFlat(kFrames);
    run.curve.insertPoint(100, 0.9f, false);
    ASSERT_TRUE(run.curve.saveSnapshot());
    ASSERT_TRUE(run.run()) << run.state.message;
    EXPECT_TRUE(run.state.message.empty());
    EXPECT_TRUE(run.state.pvcReady);
    EXPECT_EQ(run.curve.length(), kFrames);
    EXPECT_GE(run.curve.count(), 2);
    // 50.5 Hz against the nominal 50 Hz: the library settles near 1.01.
    for (const PvcPoint& p : run.curve.points()) {
        EXPECT_GT(p.value, 1.005) << "at " << p.position;
        EXPECT_LT(p.value, 1.015) << "at " << p.position;
    }
    EXPECT_NEAR(run.curve.points().back().value, 1.01, 0.003);
    // Both passes read the whole selection; the second one draws the picture.
    EXPECT_EQ(run.host.framesRead(), 2 * kFrames);
    std::vector<int> all(kColumns);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(run.editor.columns, all);
    EXPECT_EQ(run.editor.history.count(), 1);
    EXPECT_EQ(run.editor.progress.back(), -1.0) << "the progress bar is hidden";
    ASSERT_TRUE(undoStep(run.curve, run.editor.history));
    EXPECT_FLOAT_EQ(run.curve.valueAtPosition(100), 0.9f) << "undo gives back the curve before the detection";
}

TEST(LibraryDetectionTask, AFailedReadInTheSecondPassRestoresTheCurveTheUserHad) {
    LibraryRun run({hum(kFrames)});
    ASSERT_TRUE(run.library.createLibraryInstance(static_cast<float>(kRate))) << run.library.message();
    run.curve.initFlat(kFrames);
    run.curve.insertPoint(24000, 0.99f, false);
    const std::vector<PvcPoint> before = run.curve.points();
    const int firstPassReads = (kFrames + kBlock - 1) / kBlock;
    run.host.failRead = firstPassReads + 2;
    EXPECT_FALSE(run.run());
    EXPECT_EQ(run.state.message, "The host could not read the audio.");
    EXPECT_FALSE(run.editor.columns.empty()) << "the failure came in the second pass, which draws";
    EXPECT_FALSE(run.state.pvcReady);
    run.expectCurveGivenBack(before);
}

TEST(LibraryDetectionTask, WithoutAnInstanceOrForThreeChannelsNothingIsRead) {
    LibraryRun none({hum(4800)});
    EXPECT_FALSE(none.run());
    EXPECT_EQ(none.state.message, "The hum library has not been set up.");
    EXPECT_EQ(none.host.framesRead(), 0);

    LibraryRun three({hum(4800), hum(4800), hum(4800)});
    ASSERT_TRUE(three.library.createLibraryInstance(static_cast<float>(kRate))) << three.library.message();
    EXPECT_FALSE(three.run());
    EXPECT_EQ(three.state.message, "Only mono and stereo files can be tracked.");
    EXPECT_EQ(three.host.framesRead(), 0);
    EXPECT_TRUE(three.editor.columns.empty());
}

}  // namespace
}  // namespace wowfix
