// Grouping, ratio and "Confidence" of the spectral-domain detector on
// synthetic tracks, its parameters, and the areas it must refuse or survive.

#include "SDPvcSignals.h"

#include "detectors/SDPvc.h"
#include "detectors/SDPvcGroups.h"
#include "detectors/SDPvcResult.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wowfix {
namespace {

using sdpvc_test::addTone;
using sdpvc_test::analyse;
using sdpvc_test::constant;

// In these tracks a bin is one hertz.
float hertz(int bin) { return static_cast<float>(bin); }

PartialTrack trackOf(int start, std::vector<std::uint16_t> bins) {
    PartialTrack t;
    t.startFrame = start;
    t.lastFrame = start + static_cast<int>(bins.size()) - 1;
    t.bins = std::move(bins);
    return t;
}

PartialTrack steadyTrack(int start, int length, int hz) {
    return trackOf(start, std::vector<std::uint16_t>(static_cast<size_t>(length), static_cast<std::uint16_t>(hz)));
}

TEST(SDPvcGroupingTest, TracksInOneRegionJoinAndOthersStayApart) {
    const std::vector<PartialTrack> tracks = {
        steadyTrack(0, 100, 1000),   // opens group 0
        steadyTrack(100, 80, 1001),  // the same 25 Hz bin: joins it
        steadyTrack(0, 150, 1100),   // longest: opens the first group
        steadyTrack(0, 5, 1000),     // under 5 % of 200 frames: ignored
        steadyTrack(20, 60, 1050),   // 50 Hz away: its own group
    };
    std::vector<PartialGroup> groups;
    ASSERT_TRUE(groupTracks(tracks, 200, hertz, groups));
    ASSERT_EQ(groups.size(), 3u);
    // Order of support: 1100 Hz (0.75), 1000 Hz (0.5) with 1001 Hz, 1050 Hz.
    EXPECT_FLOAT_EQ(groups[0].segments[0].smoothed[0], 1100.0f);
    ASSERT_EQ(groups[1].segments.size(), 1u);  // frames 0..179 in one run
    EXPECT_EQ(groups[1].segments[0].startFrame, 0);
    EXPECT_EQ(groups[1].segments[0].endFrame(), 180);
    EXPECT_FLOAT_EQ(groups[1].segments[0].weight[10], 0.5f);   // from the 100-frame track
    EXPECT_FLOAT_EQ(groups[1].segments[0].weight[150], 0.4f);  // from the 80-frame track
    EXPECT_FLOAT_EQ(groups[2].segments[0].smoothed[0], 1050.0f);
}

TEST(SDPvcGroupingTest, RatioIsTheSmoothedFrequencyOverTheSegmentMedian) {
    std::vector<std::uint16_t> bins;
    for (int f = 0; f < 40; ++f) bins.push_back(static_cast<std::uint16_t>(f < 30 ? 1000 : 1001));
    std::vector<PartialGroup> groups;
    ASSERT_TRUE(groupTracks({trackOf(0, bins)}, 40, hertz, groups));
    ASSERT_EQ(groups.size(), 1u);
    const GroupSegment& s = groups[0].segments[0];
    EXPECT_FLOAT_EQ(s.median, 1000.0f);
    EXPECT_FLOAT_EQ(s.ratio(0), 1.0f);
    EXPECT_FLOAT_EQ(s.smoothed[30], (2 * 1000.0f + 3 * 1001.0f) / 5.0f);
    EXPECT_FLOAT_EQ(s.ratio(39), 1.001f);
}

// A track that steps to another note within one frame (here a semitone) is
// two segments, each against its own median, not a speed change of the size
// of the interval; a step of 2 % (flutter over narrow bins) is not.
TEST(SDPvcGroupingTest, AStepToAnotherNoteEndsTheSegment) {
    std::vector<std::uint16_t> small(40, 1000);
    for (int f = 20; f < 40; ++f) small[static_cast<size_t>(f)] = 1020;
    std::vector<PartialGroup> kept;
    ASSERT_TRUE(groupTracks({trackOf(0, small)}, 40, hertz, kept));
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].segments.size(), 1u);
    std::vector<std::uint16_t> bins(40, 1000);
    for (int f = 20; f < 40; ++f) bins[static_cast<size_t>(f)] = 1060;
    std::vector<PartialGroup> groups;
    ASSERT_TRUE(groupTracks({trackOf(0, bins)}, 40, hertz, groups));
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].segments.size(), 2u);
    EXPECT_EQ(groups[0].segments[1].startFrame, 20);
    for (int f : {0, 19, 20, 39}) EXPECT_FLOAT_EQ(groups[0].segmentAt(f)->ratio(f), 1.0f) << f;
}

TEST(SDPvcGroupingTest, ShortSegmentsAndEmptyListsNeedNoDivision) {
    float y[3] = {0, 0, 0};
    const float one[1] = {5.0f};
    smooth5(one, y, 1);
    EXPECT_FLOAT_EQ(y[0], 5.0f);
    const float two[2] = {4.0f, 6.0f};
    smooth5(two, y, 2);
    EXPECT_FLOAT_EQ(y[0], 4.0f);
    EXPECT_FLOAT_EQ(y[1], 6.0f);
    const float three[3] = {3.0f, 6.0f, 9.0f};
    smooth5(three, y, 3);
    EXPECT_FLOAT_EQ(y[1], 6.0f);
    EXPECT_FLOAT_EQ(upperMedian({}), 1.0f);
    EXPECT_FLOAT_EQ(upperMedian({3.0f, 1.0f, 2.0f, 4.0f}), 3.0f);
    std::vector<PartialGroup> groups;
    EXPECT_TRUE(groupTracks({}, 0, hertz, groups));
    EXPECT_TRUE(groups.empty());
}

TEST(SDPvcConfidenceTest, BestSupportedShownGroupGivesEachFrame) {
    std::vector<std::uint16_t> strong(60, 1000), weak(100, 2000);
    for (int f = 0; f < 5; ++f) strong[static_cast<size_t>(f)] = 999;
    for (int f = 0; f < 5; ++f) weak[static_cast<size_t>(f)] = 1999;
    std::vector<PartialGroup> groups;
    // Frames 0..59 strong (support 0.6 of 100), 0..99 weak (1.0): the long
    // one wins where both exist.
    ASSERT_TRUE(groupTracks({trackOf(0, strong), trackOf(0, weak)}, 100, hertz, groups));
    ASSERT_EQ(groups.size(), 2u);
    SDPvcResult result;
    ASSERT_TRUE(result.combine(groups, 0.0f, 100, 512, 266));
    EXPECT_FLOAT_EQ(result.value(0), groups[0].segments[0].ratio(0));
    EXPECT_NEAR(result.value(0), 1999.0 / 2000.0, 1e-6);
    // Above 0.6 only the full-length group is shown; at 1.0 the same.
    ASSERT_TRUE(result.combine(groups, 0.7f, 100, 512, 266));
    EXPECT_NEAR(result.value(0), 1999.0 / 2000.0, 1e-6);
    // Drop the long track: above its support frames fall back to 1.0.
    std::vector<PartialGroup> one;
    ASSERT_TRUE(groupTracks({trackOf(0, strong)}, 100, hertz, one));
    ASSERT_TRUE(result.combine(one, 0.0f, 100, 512, 266));
    EXPECT_NEAR(result.value(0), 999.0 / 1000.0, 1e-6);
    EXPECT_FLOAT_EQ(result.value(80), 1.0f);
    ASSERT_TRUE(result.combine(one, 0.7f, 100, 512, 266));
    EXPECT_FLOAT_EQ(result.value(0), 1.0f);
    EXPECT_EQ(result.position(1), 266 + 256);
    EXPECT_EQ(result.position(500), 99 * 266 + 256);
    EXPECT_FLOAT_EQ(result.value(500), 1.0f);
}

TEST(SDPvcParameterTest, DefaultsAndLatchedAnalysis) {
    SDPvc detector;
    EXPECT_EQ(detector.getNumParams(), 3);
    EXPECT_FLOAT_EQ(detector.getParameterDisplayValue(0), 512.0f);
    EXPECT_FLOAT_EQ(detector.getParameterDisplayValue(1), 48.0f);
    EXPECT_FLOAT_EQ(detector.getParameter(2), 0.0f);
    std::vector<float> x(44100, 0.0f);
    addTone(x, 44100, constant(1000.0), constant(0.5));
    ASSERT_TRUE(analyse(detector, x, 44100, 200.0f, 3000.0f));
    const int position = detector.resultPosition(3);
    EXPECT_EQ(position, 3 * 266 + 256);
    // A new overlap after the preview: the preview keeps its own positions.
    detector.setParameter(1, 0.0f);
    detector.setParameter(0, 1.0f);
    ASSERT_TRUE(detector.combineGroups());
    EXPECT_EQ(detector.resultPosition(3), position);
    EXPECT_EQ(detector.blockLength(), 4096);
}

TEST(SDPvcAreaTest, UnusableAreasAreRefusedAndEmptyOnesStayFlat) {
    SDPvc detector;
    EXPECT_FALSE(detector.beginAnalysis(44100, 100.0f, 2000.0f, 300));
    EXPECT_FALSE(detector.lastMessage().empty());
    EXPECT_FALSE(detector.beginAnalysis(44100, 30000.0f, 40000.0f, 44100));
    EXPECT_FALSE(detector.beginAnalysis(44100, 2000.0f, 100.0f, 44100));
    const float* none[1] = {nullptr};
    EXPECT_FALSE(detector.process(10, 1, none, nullptr));

    std::vector<float> silence(44100, 0.0f);
    ASSERT_TRUE(analyse(detector, silence, 44100, 100.0f, 2000.0f));
    EXPECT_EQ(detector.groupCount(), 0);
    for (int i = 0; i < detector.resultCount(); ++i) EXPECT_FLOAT_EQ(detector.resultValue(i), 1.0f);

    std::vector<float> oneFrame(512, 0.0f);
    addTone(oneFrame, 44100, constant(1000.0), constant(0.5));
    ASSERT_TRUE(analyse(detector, oneFrame, 44100, 100.0f, 2000.0f));
    ASSERT_EQ(detector.resultCount(), 1);
    EXPECT_FLOAT_EQ(detector.resultValue(0), 1.0f);
}

// Noise in a wide band opens many short tracks; the table keeps only the
// live ones and those long enough to count.
TEST(SDPvcAreaTest, NoiseLeavesNoShortFinishedTracks) {
    std::vector<float> x(44100 * 3, 0.0f);
    unsigned state = 1u;
    for (float& v : x) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<float>(static_cast<int>(state >> 8) / 16777216.0 - 0.5);
    }
    SDPvc detector;
    ASSERT_TRUE(analyse(detector, x, 44100, 50.0f, 20000.0f));
    const double minimum = std::max(10.0, 0.05 * detector.frameTotal());
    for (const PartialTrack& t : detector.finishedTracks()) EXPECT_TRUE(t.alive || t.length() >= minimum);
    for (int i = 0; i < detector.resultCount(); ++i) {
        EXPECT_TRUE(std::isfinite(detector.resultValue(i)));
        EXPECT_GT(detector.resultValue(i), 0.0f);
    }
}

}  // namespace
}  // namespace wowfix
