// The pilot-tone task over an in-memory host: what it makes of the tracker's
// output, the spectrogram it draws on the way, and its failures.

#include "tasks/PilotToneTask.h"

#include "TaskRig.h"
#include "detectors/ToneTracker.h"
#include "pvc/UndoSteps.h"
#include "tests/pvc/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace wowfix {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRate = 48000.0;
constexpr double kPilot = 19000.0;
constexpr int kColumns = 100;

// A pilot recorded at the speed `speed(t)`: its phase is the integral of
// kPilot * speed, summed in double precision sample by sample.
std::vector<float> pilot(int frames, const std::function<double(double)>& speed, double rate = kRate) {
    std::vector<float> out(static_cast<size_t>(frames));
    double phase = 0.0;
    for (int n = 0; n < frames; ++n) {
        out[static_cast<size_t>(n)] = static_cast<float>(0.3 * std::sin(phase));
        phase += 2.0 * kPi * kPilot * speed(n / rate) / rate;
    }
    return out;
}

struct PilotRun : test::TaskRig {
    explicit PilotRun(std::vector<float> mono, double rate = kRate)
        : TaskRig(512, rate, kColumns), tracker(static_cast<float>(rate)), rate(rate) {
        host.source = {std::move(mono)};
        editor.view_.totalSamples = host.frames();
    }
    bool run() {
        VstOfflineTask& task = records.add(1, 4096, 0);
        task.numFramesInSourceFile = host.frames();
        task.sourceSampleRate = rate;
        return runPilotToneTracking(context, task, &tracker);
    }

    ToneTracker tracker;
    double rate;
};

TEST(PilotToneTask, ASteadyPilotGivesASteadyCurveAsOneUndoStep) {
    PilotRun run(pilot(48000, [](double) { return 1.0; }));
    test::ScratchFolder scratch;
    ASSERT_TRUE(run.curve.openTempFolder(scratch.file("undo")));
    // The spectrogram pass that opened the file took the baseline snapshot.
    run.curve.initFlat(48000);
    run.curve.insertPoint(100, 0.9f, false);
    ASSERT_TRUE(run.curve.saveSnapshot());
    ASSERT_TRUE(run.run()) << run.state.message;
    EXPECT_TRUE(run.state.pvcReady);
    EXPECT_EQ(run.curve.length(), 48000);
    for (const PvcPoint& p : run.curve.points()) EXPECT_NEAR(p.value, 1.0, 1e-4) << "at " << p.position;
    // Thinning keeps a steady curve to a handful of points.
    EXPECT_LE(run.curve.count(), 6);
    EXPECT_EQ(run.editor.history.count(), 1);
    EXPECT_EQ(run.editor.progress.back(), -1.0);
    ASSERT_TRUE(undoStep(run.curve, run.editor.history));
    EXPECT_FLOAT_EQ(run.curve.valueAtPosition(100), 0.9f) << "undo gives back the curve before tracking";
}

TEST(PilotToneTask, PointsFollowTheSpeedAtTheFramesTheyDescribe) {
    const auto speed = [](double t) { return 1.0 + 0.003 * std::sin(2.0 * kPi * 0.5 * t); };
    PilotRun run(pilot(192000, speed));
    ASSERT_TRUE(run.run()) << run.state.message;
    ASSERT_GT(run.curve.count(), 20);
    // The curve describes speed relative to the reference frame at the start.
    double worst = 0.0;
    for (int n = 4096; n < 186000; n += 1000) {
        const double expected = speed(n / kRate) / speed(0.0);
        worst = std::max(worst, std::fabs(run.curve.valueAtPosition(n) - expected));
    }
    // Thinning drops points within 0.001 of their left neighbour, so between
    // points the curve may miss the speed by up to that much.
    EXPECT_LT(worst, 5e-4);
}

TEST(PilotToneTask, ASteadyTailEndsAtItsOwnValue) {
    const auto speed = [](double t) { return t < 0.5 ? 1.0 : 1.004; };
    PilotRun run(pilot(96000, speed));
    ASSERT_TRUE(run.run()) << run.state.message;
    const std::vector<PvcPoint>& points = run.curve.points();
    EXPECT_NEAR(points.back().value, 1.004, 2e-4);
    EXPECT_NEAR(run.curve.valueAtPosition(94000), 1.004, 2e-4) << "no ramp back to 1.0";
}

TEST(PilotToneTask, EveryColumnOfThePictureIsDrawn) {
    PilotRun run(pilot(5000, [](double) { return 1.0; }));
    ASSERT_TRUE(run.run()) << run.state.message;
    EXPECT_EQ(static_cast<int>(run.editor.columns.size()), kColumns);
    // 5000 frames are four tracker blocks; the last 904 frames give no points.
    for (const PvcPoint& p : run.curve.points())
        EXPECT_TRUE(p.position == 4999 || p.position < 4096 - run.tracker.getDelay()) << p.position;
}

TEST(PilotToneTask, RefusesRatesThatCannotHoldAPilotAndLeavesEverythingAsItWas) {
    for (double rate : {22050.0, 26000.0}) {
        PilotRun run(std::vector<float>(20000, 0.1f), rate);
        run.curve.initFlat(20000);
        run.curve.setValue(1, 1.01f);
        EXPECT_FALSE(run.run());
        EXPECT_FALSE(run.state.message.empty());
        EXPECT_EQ(run.host.framesRead(), 0);
        EXPECT_TRUE(run.editor.columns.empty());
        EXPECT_FLOAT_EQ(run.curve.valueAt(1), 1.01f);
    }
}

TEST(PilotToneTask, AFailedReadRestoresTheCurveTheUserHad) {
    PilotRun run(pilot(48000, [](double) { return 1.002; }));
    run.curve.initFlat(48000);
    run.curve.insertPoint(24000, 0.99f, false);
    const std::vector<PvcPoint> before = run.curve.points();
    run.host.failRead = 20;  // in the second pass
    EXPECT_FALSE(run.run());
    EXPECT_EQ(run.state.message, "The host could not read the audio.");
    run.expectCurveGivenBack(before);
}

TEST(PilotToneTask, WithoutATrackerNothingIsRead) {
    PilotRun run(pilot(4800, [](double) { return 1.0; }));
    VstOfflineTask& task = run.records.add(1, 4096, 0);
    task.sourceSampleRate = kRate;
    EXPECT_FALSE(runPilotToneTracking(run.context, task, nullptr));
    EXPECT_EQ(run.host.framesRead(), 0);
}

}  // namespace
}  // namespace wowfix
