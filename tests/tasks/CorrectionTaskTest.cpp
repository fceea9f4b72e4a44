#include "tasks/CorrectionTask.h"

#include "MemoryHost.h"
#include "TaskRecords.h"
#include "pvc/PvcCurve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace wowfix {
namespace {

using test::TaskRecords;

constexpr double kCentreTap = 0.99149;  // the weight a speed of 1.0 copies through with
constexpr int kFrames = 1000;

float slowSine(int i) { return static_cast<float>(0.6 * std::sin(i * 0.01)); }
float tone(int i) { return static_cast<float>(0.5 * std::sin(i * 0.3) + 0.2 * std::sin(i * 1.7)); }
bool allFinite(const std::vector<float>& v) {
    return std::all_of(v.begin(), v.end(), [](float x) { return std::isfinite(x); });
}

class Correction : public ::testing::Test {
protected:
    void source(std::initializer_list<float (*)(int)> channels) {
        host.source.clear();
        for (auto signal : channels) {
            std::vector<float>& samples = host.source.emplace_back();
            for (int i = 0; i < kFrames; ++i) samples.push_back(signal(i));
        }
    }
    void constantCurve(float value) {
        curve.initFlat(kFrames);
        curve.setValue(0, value);
        curve.setValue(1, value);
    }
    void risingAndFallingCurve() {  // 1.0 up to 1.1 in the middle and back
        curve.initFlat(kFrames);
        curve.insertPoint(kFrames / 2, 1.1f, false);
    }
    // The corrected copy of the whole source, written into host.written.
    bool run(int block, int outputSize) {
        const int channels = static_cast<int>(host.source.size());
        TaskRecords records;
        VstOfflineTask& source = records.add(channels, block, 0);
        source.numFramesInSourceFile = source.numFramesToProcess = kFrames;
        source.plugOwned = &curve;
        records.add(channels, 0, outputSize);
        host.clearRecords();
        return runCorrection(host, records.data(), records.count(), curve, message);
    }
    std::vector<float> output(int block, int outputSize, size_t channel = 0) {
        EXPECT_TRUE(run(block, outputSize)) << message;
        EXPECT_TRUE(host.violations.empty()) << host.violations.front();
        return channel < host.written.size() ? host.written[channel] : std::vector<float>{};
    }

    test::MemoryHost host;
    PvcCurve curve;
    std::string message;
};

TEST_F(Correction, FlatCurveCopiesEveryFrameAtTheCentreTapWeightWithoutDelay) {
    source({slowSine});
    curve.initFlat(kFrames);
    const std::vector<float> out = output(256, 256);
    ASSERT_EQ(out.size(), static_cast<size_t>(kFrames));
    for (int i = 0; i < kFrames; ++i) ASSERT_NEAR(out[i], kCentreTap * host.source[0][i], 1e-5) << i;
}

TEST_F(Correction, DoubleSpeedCurveGivesTwiceTheFrames) {
    source({slowSine});
    constantCurve(2.0f);
    const std::vector<float> out = output(256, 256);
    ASSERT_EQ(out.size(), 2u * kFrames);
    for (int i = 0; i < kFrames; ++i) ASSERT_NEAR(out[2 * i], kCentreTap * host.source[0][i], 1e-5) << i;
}

TEST_F(Correction, StereoResamplesBothChannelsAlongTheSameCurve) {
    risingAndFallingCurve();
    source({tone});
    const std::vector<float> mono = output(256, 256);
    EXPECT_NEAR(static_cast<double>(mono.size()), kFrames * 1.05, 2.0);
    source({slowSine, tone});
    ASSERT_TRUE(run(256, 256)) << message;
    ASSERT_EQ(host.written.size(), 2u);
    EXPECT_EQ(host.written[0].size(), mono.size());
    ASSERT_EQ(host.written[1].size(), mono.size());
    for (size_t i = 0; i < mono.size(); ++i) ASSERT_NEAR(host.written[1][i], mono[i], 1e-6) << i;
}

TEST_F(Correction, OutputDoesNotDependOnBlockOrWriteSizes) {
    source({tone});
    risingAndFallingCurve();
    const std::vector<float> reference = output(256, 4096);
    // Writes smaller than a block's output; block 1; blocks that do not divide
    // the selection; one block larger than the selection (first and last).
    const std::vector<std::pair<int, int>> sizes{{256, 100}, {1, 1}, {1, 7}, {37, 1000}, {999, 3}, {4096, 5000}};
    for (auto [block, outputSize] : sizes) {
        const std::vector<float> out = output(block, outputSize);
        for (int n : host.writeCounts) ASSERT_LE(n, outputSize);
        EXPECT_GE(host.writeCounts.size(), reference.size() / static_cast<size_t>(outputSize));
        ASSERT_EQ(out.size(), reference.size()) << block << "/" << outputSize;
        for (size_t i = 0; i < out.size(); ++i) ASSERT_NEAR(out[i], reference[i], 1e-6) << block << "/" << outputSize << " at " << i;
    }
}

TEST_F(Correction, CurvesOutsideTheEditorsRangeStillEndWithFiniteOutput) {
    source({tone});
    constantCurve(16.0f);
    const std::vector<float> fast = output(128, 100);
    EXPECT_GT(fast.size(), 15u * kFrames);
    EXPECT_LE(fast.size(), 16u * kFrames + 1);
    EXPECT_TRUE(allFinite(fast));
    constantCurve(1e6f);
    EXPECT_EQ(output(128, 100).size(), fast.size());
    // Past the end of a short curve the value is -1.0, around a NaN point it
    // is NaN: both run at speed 1.0.
    curve.initFlat(kFrames / 3);
    EXPECT_EQ(output(128, 100).size(), static_cast<size_t>(kFrames));
    curve.initFlat(kFrames);
    curve.insertPoint(400, 1.0f, false);
    curve.setValue(1, std::numeric_limits<float>::quiet_NaN());
    const std::vector<float> poisoned = output(128, 100);
    EXPECT_EQ(poisoned.size(), static_cast<size_t>(kFrames));
    EXPECT_TRUE(allFinite(poisoned));
}

TEST_F(Correction, UnusableRecordsAreRefusedWithAMessage) {
    curve.initFlat(kFrames);
    PvcCurve other;
    // channels of the source, of the new file; the curve carried; records given
    struct Case { int channels, newFileChannels; PvcCurve* owned; int count; };
    for (const Case& c : {Case{1, 1, &curve, 1}, Case{1, 1, &other, 2}, Case{3, 3, &curve, 2}, Case{2, 1, &curve, 2}}) {
        TaskRecords records;
        VstOfflineTask& source = records.add(c.channels, 256, 0);
        source.numFramesToProcess = kFrames;
        source.plugOwned = c.owned;
        records.add(c.newFileChannels, 0, 256);
        message.clear();
        EXPECT_FALSE(runCorrection(host, records.data(), c.count, curve, message)) << c.channels << c.count;
        EXPECT_FALSE(message.empty());
    }
    EXPECT_EQ(host.calls, 0);
}

TEST_F(Correction, HostFailureStopsTheTaskAndKeepsWhatWasWritten) {
    source({tone});
    risingAndFallingCurve();
    const std::vector<float> complete = output(100, 50);
    host.failRead = 4;
    EXPECT_FALSE(run(100, 50));
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(host.readCounts.size(), 3u);
    ASSERT_GE(host.framesWritten(), 200);
    EXPECT_TRUE(std::equal(host.written[0].begin(), host.written[0].end(), complete.begin()));
    host.failRead = 0;
    host.failWrite = 3;
    message.clear();
    EXPECT_FALSE(run(100, 50));
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(host.framesWritten(), 100);
    EXPECT_EQ(host.readCounts.size(), 2u);
}

}  // namespace
}  // namespace wowfix
