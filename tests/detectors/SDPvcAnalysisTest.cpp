// Frame analysis, peak picking and track linking of the spectral-domain
// detector on known sinusoids.

#include "SDPvcSignals.h"

#include "detectors/SDPvc.h"
#include "detectors/SDPvcFrame.h"
#include "detectors/SDPvcTracks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wowfix {
namespace {

using sdpvc_test::addTone;
using sdpvc_test::analyse;
using sdpvc_test::constant;
using sdpvc_test::pi;

constexpr int kRate = 44100;

TEST(SDPvcFrameTest, PeakLiesOnTheNearestBinWithTheToneLevelAndCentrePhase) {
    SDPvcFrame frame;
    ASSERT_TRUE(frame.configure(512, kRate, 0.0f, 20000.0f));
    const double binWidth = static_cast<double>(kRate) / 4096.0;
    for (double f : {440.0, 1000.3, 3150.0, 7777.7}) {
        const double amplitude = 0.5;
        const double centrePhase = 0.7;
        std::vector<float> x(512, 0.0f);
        // Phase 0.7 rad at the frame centre, sample 256.
        addTone(x, kRate, constant(f), constant(amplitude), centrePhase - 2.0 * pi * f * 256 / kRate);
        frame.analyse(x.data());
        ASSERT_FALSE(frame.selected().empty()) << f;
        const int peak = frame.selected()[0];
        EXPECT_EQ(peak, static_cast<int>(std::lround(f / binWidth))) << f;
        EXPECT_NEAR(frame.level(peak), 20.0 * std::log10(amplitude / 2.0), 0.3) << f;
        EXPECT_NEAR(std::remainder(frame.phase(peak) - centrePhase, 2.0 * pi), 0.0, 0.25) << f;
    }
}

// Bin frequencies are not whole hertz, and high rates do not overflow them.
TEST(SDPvcFrameTest, BinFrequenciesHoldAt192kHz) {
    SDPvcFrame frame;
    ASSERT_TRUE(frame.configure(4096, 192000.0, 0.0f, 90000.0f));
    EXPECT_FLOAT_EQ(frame.binFrequency(1), 192000.0f / 32768.0f);
    EXPECT_FLOAT_EQ(frame.binFrequency(16383), 192000.0f * 16383.0f / 32768.0f);
    std::vector<float> x(4096, 0.0f);
    addTone(x, 192000, constant(20000.3), constant(0.5));
    frame.analyse(x.data());
    ASSERT_FALSE(frame.selected().empty());
    EXPECT_NEAR(frame.binFrequency(frame.selected()[0]), 20000.3, 192000.0 / 32768.0 / 2.0);
}

TEST(SDPvcFrameTest, SelectionKeepsTheBandAndTheLevelFloorStrongestFirst) {
    SDPvcFrame frame;
    ASSERT_TRUE(frame.configure(512, kRate, 500.0f, 2000.0f));
    std::vector<float> x(512, 0.0f);
    addTone(x, kRate, constant(300.0), constant(0.5));    // below the band
    addTone(x, kRate, constant(1000.0), constant(0.05));  // in the band
    addTone(x, kRate, constant(1500.0), constant(0.3));   // in the band, stronger
    addTone(x, kRate, constant(1800.0), constant(0.001)); // under -40 dB
    frame.analyse(x.data());
    ASSERT_GE(frame.selected().size(), 2u);
    EXPECT_NEAR(frame.binFrequency(frame.selected()[0]), 1500.0, 11.0);
    EXPECT_NEAR(frame.binFrequency(frame.selected()[1]), 1000.0, 22.0);  // pulled by the others' leakage
    for (int k : frame.selected()) {
        EXPECT_GE(frame.level(k), SDPvcFrame::levelFloor);
        EXPECT_GE(frame.binFrequency(k), 500.0f);
        EXPECT_LE(frame.binFrequency(k), 2000.0f);
    }
}

TEST(SDPvcFramingTest, FrameCountIsWholeFramesOnly) {
    EXPECT_EQ(SDPvc::framesIn(511, 512, 266), 0);
    EXPECT_EQ(SDPvc::framesIn(512, 512, 266), 1);
    EXPECT_EQ(SDPvc::framesIn(1000, 512, 266), 2);
    EXPECT_EQ(SDPvc::framesIn(-5, 512, 266), 0);

    SDPvc detector;
    std::vector<float> x(1000, 0.0f);
    addTone(x, kRate, constant(1000.0), constant(0.5));
    ASSERT_TRUE(analyse(detector, x, kRate, 100.0f, 5000.0f));
    EXPECT_EQ(detector.resultCount(), 2);
    EXPECT_EQ(detector.resultPosition(0), 256);
    EXPECT_EQ(detector.resultPosition(1), 522);
}

// A steady partial is one track from the first frame to the last, at every
// overlap and low in the spectrum where the phase advance wraps many times.
TEST(SDPvcLinkingTest, SteadyLowTonesGiveOneFullLengthTrack) {
    struct Case {
        double frequency;
        float fftLength;  // normalised: 0.25 is 512, 0.75 is 2048
    };
    // 60 Hz needs a frame that holds a few of its periods.
    for (const Case c : {Case{110.0, 0.25f}, Case{440.0, 0.25f}, Case{60.0, 0.75f}}) {
        for (float overlap : {0.6f, 0.0f, 1.0f}) {
            SDPvc detector;
            detector.setParameter(0, c.fftLength);
            detector.setParameter(1, overlap);
            std::vector<float> x(kRate * 4, 0.0f);
            addTone(x, kRate, constant(c.frequency), constant(0.5));
            ASSERT_TRUE(analyse(detector, x, kRate, 20.0f, 1000.0f));
            const auto& tracks = detector.finishedTracks();
            ASSERT_EQ(tracks.size(), 1u) << c.frequency << " Hz, overlap " << overlap;
            EXPECT_EQ(tracks[0].startFrame, 0);
            EXPECT_EQ(tracks[0].lastFrame, detector.analysisFrameCount() - 1);
            ASSERT_EQ(detector.groupCount(), 1);
            for (int i = 0; i < detector.resultCount(); ++i) EXPECT_FLOAT_EQ(detector.resultValue(i), 1.0f);
        }
    }
}

TEST(SDPvcLinkingTest, AGlideIsFollowedInOneTrack) {
    SDPvc detector;
    std::vector<float> x(kRate * 3, 0.0f);
    addTone(x, kRate, [](double t) { return 1000.0 + 100.0 * t; }, constant(0.5));
    ASSERT_TRUE(analyse(detector, x, kRate, 500.0f, 2000.0f));
    ASSERT_EQ(detector.finishedTracks().size(), 1u);
    EXPECT_EQ(detector.finishedTracks()[0].length(), detector.analysisFrameCount());
    // The ratio rises with the glide: 1300 / 1150 at the end.
    EXPECT_LT(detector.resultValue(2), 0.9f);
    EXPECT_NEAR(detector.resultValue(detector.resultCount() - 1), 1300.0 / 1150.0, 0.01);
}

TEST(SDPvcLinkingTest, CrossingPartialsStayOnTheirOwnLinesAwayFromTheCrossing) {
    const auto rising = [](double t) { return 800.0 + 100.0 * t; };
    const auto falling = [](double t) { return 1200.0 - 100.0 * t; };
    std::vector<float> x(static_cast<size_t>(kRate * 4), 0.0f);
    addTone(x, kRate, rising, constant(0.5));
    addTone(x, kRate, falling, constant(0.2));
    // The linking stage on its own, so that the tracks keep their bins.
    const int n = 512, hop = 266;
    SDPvcFrame frame;
    ASSERT_TRUE(frame.configure(n, kRate, 500.0f, 1500.0f));
    SDPvcTracks tracks;
    const int frames = SDPvc::framesIn(static_cast<long long>(x.size()), n, hop);
    tracks.begin(frames, hop);
    for (int f = 0; f < frames; ++f) {
        frame.analyse(&x[static_cast<size_t>(f) * hop]);
        ASSERT_TRUE(tracks.addFrame(frame));
    }
    int followed = 0;
    for (const PartialTrack& track : tracks.tracks()) {
        if (track.length() < SDPvcTracks::minTrackFrames) continue;
        const auto timeOf = [&](int f) { return (f * hop + n / 2.0) / kRate; };
        const double t0 = timeOf(track.startFrame);
        const double f0 = frame.binFrequency(track.bins[0]);
        const bool onRising = std::fabs(f0 - rising(t0)) < std::fabs(f0 - falling(t0));
        for (size_t i = 0; i < track.bins.size(); ++i) {
            const double t = timeOf(track.startFrame + static_cast<int>(i));
            if (std::fabs(rising(t) - falling(t)) < 60.0) continue;  // the crossing itself
            const double line = onRising ? rising(t) : falling(t);
            ASSERT_NEAR(frame.binFrequency(track.bins[i]), line, 22.0) << "frame " << track.startFrame + i;
        }
        ++followed;
    }
    EXPECT_GE(followed, 2);
}

// The table of tracks is bounded: past its entries the tracker fails and
// stays failed instead of growing.
TEST(SDPvcLinkingTest, TrackEntriesBeyondTheLimitFailTheRun) {
    std::vector<float> x(kRate, 0.0f);
    addTone(x, kRate, constant(1000.0), constant(0.5));
    addTone(x, kRate, constant(1500.0), constant(0.5));
    SDPvcFrame frame;
    ASSERT_TRUE(frame.configure(512, kRate, 500.0f, 2000.0f));
    SDPvcTracks tracks;
    tracks.begin(SDPvc::framesIn(kRate, 512, 266), 266, 21);  // two partials: ten frames and a half
    int frames = 0;
    const auto next = [&] {
        frame.analyse(&x[static_cast<size_t>(frames) * 266]);
        return tracks.addFrame(frame);
    };
    while (frames < 100 && next()) ++frames;
    EXPECT_EQ(frames, 10);
    EXPECT_TRUE(tracks.failed());
    EXPECT_LE(tracks.entries(), 21);
    EXPECT_FALSE(tracks.addFrame(frame));
}

TEST(SDPvcLinkingTest, ADropoutSplitsTheTrackAndTheGroupJoinsThePieces) {
    SDPvc detector;
    std::vector<float> x(kRate * 4, 0.0f);
    addTone(x, kRate, constant(1000.0), [](double t) { return t > 1.9 && t < 2.1 ? 0.0 : 0.5; });
    ASSERT_TRUE(analyse(detector, x, kRate, 500.0f, 2000.0f));
    // The tone's own pieces (the onset after the gap may also start a track
    // on a side lobe elsewhere).
    int pieces = 0;
    for (const PartialTrack& t : detector.finishedTracks()) pieces += std::fabs(t.frequency - 1000.0f) < 11.0f;
    EXPECT_EQ(pieces, 2);
    int group = -1;
    for (int g = 0; g < detector.groupCount(); ++g)
        if (std::fabs(detector.groupFrequencyAt(g, 10) - 1000.0f) < 11.0f) group = g;
    ASSERT_GE(group, 0);
    // Covered before and after the gap, not in it.
    const int hop = detector.analysisHop();
    const int inGap = static_cast<int>(2.0 * kRate / hop);
    EXPECT_LT(detector.groupFrequencyAt(group, inGap), 0.0f);
    EXPECT_NEAR(detector.groupFrequencyAt(group, detector.resultCount() - 10), 1000.0f, 11.0f);
    // Steady on both sides; the frames that see the gap's edges may not be.
    const int gapStart = static_cast<int>(1.9 * kRate / hop), gapEnd = static_cast<int>(2.1 * kRate / hop);
    for (int i = 0; i < detector.resultCount(); ++i)
        if (i < gapStart - 4 || i > gapEnd + 4) {
            EXPECT_FLOAT_EQ(detector.resultValue(i), 1.0f) << i;
        }
}

}  // namespace
}  // namespace wowfix
