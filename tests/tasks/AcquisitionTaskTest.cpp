#include "tasks/AcquisitionTask.h"

#include "TaskRig.h"
#include "tasks/EditorPort.h"
#include "tests/pvc/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numeric>

namespace wowfix {
namespace {

using Selection = test::MemoryHost::Selection;
constexpr int kColumns = 32;
constexpr int kFrames = 4000;
constexpr double kRate = 8000.0;

std::vector<float> toneOf(double amplitude) {
    std::vector<float> samples;
    for (int i = 0; i < kFrames; ++i) samples.push_back(static_cast<float>(amplitude * std::sin(2 * M_PI * 1000 * i / kRate)));
    return samples;
}

using Points = std::vector<std::pair<int, float>>;
Points pointsOf(const PvcCurve& curve) {
    Points points;
    for (const PvcPoint& p : curve.points()) points.emplace_back(p.position, p.value);
    return points;
}

// Everything an acquisition works with, around a host holding `host.source`.
struct Acquisition : test::TaskRig {
    Acquisition() : TaskRig(256, kRate, kColumns) {}
    VstOfflineTask& record() {
        VstOfflineTask& task = records.add(static_cast<int>(host.source.size()), 512, 0);
        task.numFramesInSourceFile = host.frames();
        task.sourceSampleRate = kRate;
        return task;
    }
    bool wholeFile() { return runWholeFileAcquisition(context, record()); }
    bool viewRange(double origin, double start, double end) {
        editor.view_.viewOrigin = origin;
        editor.view_.rangeStart = start;
        editor.view_.rangeEnd = end;
        return runViewAcquisition(context, record());
    }
    std::vector<float> levels() const {
        std::vector<float> all;
        for (int c = 0; c < store.columns(); ++c)
            if (const float* column = store.columnLevels(c)) all.insert(all.end(), column, column + store.halfLength());
        return all;
    }
    void expectFlatCurve(int length) const {
        EXPECT_TRUE(state.pvcReady);
        EXPECT_EQ(curve.length(), length);
        EXPECT_EQ(pointsOf(curve), (Points{{0, 1.0f}, {length - 1, 1.0f}}));
    }
};

class WholeFileAcquisition : public ::testing::Test {
protected:
    void SetUp() override {
        run.host.source = {toneOf(0.5)};
        ASSERT_TRUE(run.curve.openTempFolder(scratch.file("undo")));
    }
    test::ScratchFolder scratch;
    Acquisition run;
};

TEST_F(WholeFileAcquisition, DrawsEveryColumnOnceAndLaysAFlatCurveOverTheFile) {
    ASSERT_TRUE(run.wholeFile());
    std::vector<int> all(kColumns);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(run.editor.columns, all);
    EXPECT_EQ(run.host.framesRead(), kFrames);
    run.expectFlatCurve(kFrames);
    EXPECT_EQ(run.curve.snapshotCount(), 1);
    EXPECT_TRUE(std::filesystem::exists(run.curve.snapshotPath(0)));
}

TEST_F(WholeFileAcquisition, LoadsTheWaitingCurveFileOnceAndKeepsEditsAfterwards) {
    const std::string path = scratch.file("take.pvc");
    test::writeText(path, "0 1.01\n2000 0.98\n3999 1.0\n");
    run.state.pvcPath = path;
    ASSERT_TRUE(run.wholeFile());
    EXPECT_EQ(pointsOf(run.curve), (Points{{0, 1.01f}, {2000, 0.98f}, {3999, 1.0f}}));
    run.curve.setValue(1, 1.05f);
    test::writeText(path, "0 0.5\n3999 0.5\n");
    ASSERT_TRUE(run.wholeFile());
    EXPECT_EQ(run.curve.count(), 3);
    EXPECT_EQ(run.curve.valueAt(1), 1.05f);
    EXPECT_EQ(run.curve.snapshotCount(), 1);
}

TEST_F(WholeFileAcquisition, FailedReadAnswersFalseAndLeavesTheCurve) {
    run.curve.initFlat(77);
    run.curve.insertPoint(30, 1.2f, false);
    const Points before = pointsOf(run.curve);
    run.host.failRead = 3;
    EXPECT_FALSE(run.wholeFile());
    EXPECT_FALSE(run.state.message.empty());
    EXPECT_FALSE(run.state.pvcReady);
    EXPECT_EQ(pointsOf(run.curve), before);
    EXPECT_EQ(run.curve.length(), 77);
    EXPECT_EQ(run.curve.snapshotCount(), 0);
}

TEST(AcquisitionMix, SilentLeftAndToneOnTheRightLookLikeAMonoToneOfHalfAmplitude) {
    Acquisition stereo, half, full;
    stereo.host.source = {std::vector<float>(kFrames, 0.0f), toneOf(0.8)};
    half.host.source = {toneOf(0.4)};
    full.host.source = {toneOf(0.8)};
    ASSERT_TRUE(stereo.wholeFile() && half.wholeFile() && full.wholeFile());
    const std::vector<float> mixed = stereo.levels(), expected = half.levels(), louder = full.levels();
    ASSERT_EQ(mixed.size(), static_cast<size_t>(kColumns * stereo.store.halfLength()));
    ASSERT_EQ(mixed.size(), expected.size());
    for (size_t i = 0; i < mixed.size(); ++i) ASSERT_NEAR(mixed[i], expected[i], 1e-4) << i;
    // and half the amplitude is 6 dB down at the tone's peak
    const float peak = *std::max_element(expected.begin(), expected.end());
    EXPECT_NEAR(*std::max_element(louder.begin(), louder.end()) - peak, 20 * std::log10(2.0), 0.05);
}

TEST(AcquisitionMix, ThreeChannelsAreReadButFeedNothing) {
    Acquisition run;
    run.host.source = {toneOf(0.5), toneOf(0.5), toneOf(0.5)};
    ASSERT_TRUE(run.wholeFile());
    EXPECT_EQ(run.host.readCounts.size(), 8u);
    EXPECT_EQ(run.host.framesRead(), kFrames);
    EXPECT_TRUE(run.editor.columns.empty());
    run.expectFlatCurve(kFrames);
}

class ViewAcquisition : public ::testing::Test {
protected:
    void SetUp() override { run.host.source = {toneOf(0.5)}; }
    Acquisition run;
};

TEST_F(ViewAcquisition, MovesCursorAndSelectionToTheRangeAndReadsOnlyIt) {
    ASSERT_TRUE(run.viewRange(1000, 500, 2500));
    EXPECT_EQ(run.host.cursorMoves, std::vector<double>{1500});
    EXPECT_EQ(run.host.selections, (std::vector<Selection>{{1500, 2000, -1}}));
    ASSERT_FALSE(run.host.readPositions.empty());
    EXPECT_EQ(run.host.readPositions.front(), 1500);
    EXPECT_EQ(run.host.framesRead(), 2000);
    EXPECT_EQ(run.editor.view().viewOrigin, 1500);
    run.expectFlatCurve(2000);
}

TEST_F(ViewAcquisition, RefusedCursorAndSelectionStillReadTheRange) {
    run.host.cursorReadable = run.host.selectionReadable = false;
    ASSERT_TRUE(run.viewRange(1000, 500, 2500));
    EXPECT_TRUE(run.host.cursorMoves.empty() && run.host.selections.empty());
    EXPECT_EQ(run.host.readPositions.front(), 1500);
    EXPECT_EQ(run.host.framesRead(), 2000);
}

TEST_F(ViewAcquisition, EmptyRangeOrOneStartingAtTheFileEndReadsTheWholeFile) {
    ASSERT_TRUE(run.viewRange(700, 300, 300));
    ASSERT_TRUE(run.viewRange(kFrames, 0, 500));
    EXPECT_EQ(run.host.cursorMoves, (std::vector<double>{0, 0}));
    EXPECT_EQ(run.host.selections, (std::vector<Selection>{{0, kFrames, -1}, {0, kFrames, -1}}));
    EXPECT_EQ(run.host.framesRead(), 2 * kFrames);
    EXPECT_TRUE(run.host.violations.empty());
    EXPECT_EQ(run.editor.view().timeCentre, kFrames / 2);
}

}  // namespace
}  // namespace wowfix
