// What the tracker answers when the pilot is missing, when the input or the
// parameters are out of range, when settings change during a run, and at
// sample rates that cannot hold a pilot: always a finite positive ratio, never
// a read outside its tables.

#include "TrackerSignals.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace tracker_test;
using wowfix::ToneTracker;
using wowfix::TrackerRunState;

namespace {

void expectFinitePositive(const std::vector<float>& y)
{
    for (size_t n = 0; n < y.size(); ++n) {
        ASSERT_TRUE(std::isfinite(y[n])) << "sample " << n;
        ASSERT_GT(y[n], 0.0f) << "sample " << n;
    }
}

std::vector<float> concat(std::vector<float> a, const std::vector<float>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(MissingPilot, SilenceFirstGivesOneThenTheToneIsItsOwnReference)
{
    for (double fs : {44100.0, 96000.0}) {
        const double f0 = fs > 48000 ? 30000 : 19000;
        const long silence = static_cast<long>(fs);
        const long tone = static_cast<long>(2 * fs);
        ToneTracker tracker(static_cast<float>(fs));
        const std::vector<float> y =
            track(tracker, concat(std::vector<float>(silence, 0.0f), pilotTone(fs, f0, tone, steady())));
        for (long n = 0; n < silence; ++n)
            ASSERT_EQ(y[n], 1.0f) << "sample " << n;
        for (long n = silence; n < silence + tone; ++n)
            ASSERT_NEAR(y[n], 1.0, 1e-4) << "sample " << n;
        EXPECT_NEAR(tracker.referenceFrequency(), f0, 0.1 * fs / 1024);
    }
}

TEST(MissingPilot, NoPilotAtAllReadsOne)
{
    ToneTracker tracker(48000.0f);
    const std::vector<float> y = track(tracker, std::vector<float>(100000, 0.0f));
    for (float v : y)
        ASSERT_EQ(v, 1.0f);
    EXPECT_EQ(tracker.referenceFrequency(), 0.0);
}

// Digital silence after the pilot: every later frame holds the last frequency.
TEST(MissingPilot, VanishingIntoSilenceHoldsTheLastValue)
{
    const double fs = 44100;
    const long tone = static_cast<long>(1.3 * fs);
    ToneTracker tracker(static_cast<float>(fs));
    const std::vector<float> y = track(
        tracker,
        concat(pilotTone(fs, 19000, tone, sinusoidalWow(0.003, 0.5, fs), 0.1f, 0.0f), std::vector<float>(tone, 0.0f)));
    expectFinitePositive(y);
    const long settled = tone + 2 * tracker.getDelay();
    const float held = y[settled];
    EXPECT_GT(std::fabs(held - 1.0f), 1e-3f);  // wow was under way: this is not the reference
    for (long n = settled; n < 2 * tone; ++n)
        ASSERT_EQ(y[n], held) << "sample " << n;
}

// Noise after the pilot has no peak either: the curve holds its last value.
TEST(MissingPilot, VanishingIntoNoiseHoldsTheLastValue)
{
    for (double fs : {44100.0, 48000.0, 96000.0}) {
        const double f0 = fs > 48000 ? 30000 : 19000;
        const long tone = static_cast<long>(1.3 * fs);
        std::vector<float> noise(2 * tone);
        Noise source(7);
        for (float& v : noise)
            v = source.next(0.5f);
        ToneTracker tracker(static_cast<float>(fs));
        const std::vector<float> y = track(tracker, concat(pilotTone(fs, f0, tone, sinusoidalWow(0.003, 0.5, fs)), noise));
        expectFinitePositive(y);
        const long settled = tone + 2 * tracker.getDelay();
        const float held = y[settled];
        EXPECT_GT(std::fabs(held - 1.0f), 1e-3f) << fs;
        for (long n = settled; n < static_cast<long>(y.size()); ++n)
            ASSERT_EQ(y[n], held) << "sample " << n << " at " << fs;
    }
}

TEST(MissingPilot, NoiseWithoutAPilotReadsOne)
{
    std::vector<float> noise(100000);
    Noise source(11);
    for (float& v : noise)
        v = source.next(0.3f);
    for (float fs : {44100.0f, 96000.0f}) {
        ToneTracker tracker(fs);
        for (float v : track(tracker, noise))
            ASSERT_EQ(v, 1.0f);
    }
}

TEST(BadInput, NonFiniteAndHugeSamplesGiveFinitePositiveOutput)
{
    const double fs = 44100;
    std::vector<float> x = pilotTone(fs, 19000, 60000, steady());
    for (long n = 20000; n < 20100; ++n)
        x[n] = std::numeric_limits<float>::quiet_NaN();
    for (long n = 30000; n < 30100; ++n)
        x[n] = (n % 2) ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::max();
    ToneTracker tracker(static_cast<float>(fs));
    const std::vector<float> y = track(tracker, x);
    expectFinitePositive(y);
    // The clipped burst is a loud tone at fs / 2 that draws the track away; the
    // pilot is found again after it.
    for (long n = 40000; n < static_cast<long>(y.size()); ++n)
        ASSERT_NEAR(y[n], 1.0, 1e-4) << "sample " << n;
}

// A loud passage leaves no trace in the smoothing once it has left the last T
// frames: a quiet pilot after it is found and read as 1.0.
TEST(BadInput, LoudPassageBeforeAQuietPilotLeavesNoResidue)
{
    const double fs = 44100;
    std::vector<float> loud(8192);
    Noise source(3);
    for (float& v : loud)
        v = source.next(1000.0f);
    ToneTracker tracker(static_cast<float>(fs));
    const std::vector<float> y =
        track(tracker, concat(loud, pilotTone(fs, 19000, static_cast<long>(fs), steady(), 1e-3f, 1e-6f)));
    EXPECT_NEAR(tracker.referenceFrequency(), 19000, 5);
    for (long n = 0; n < static_cast<long>(y.size()); ++n)
        ASSERT_NEAR(y[n], 1.0, 1e-4) << "sample " << n;
}

TEST(BadInput, RefusedArgumentsWriteNothing)
{
    ToneTracker tracker(44100.0f);
    TrackerRunState state;
    std::vector<float> in(64, 0.5f), out(64, -7.0f);
    const float* inputs[1] = {in.data()};
    float* outputs[1] = {out.data()};
    const float* nullInput[1] = {nullptr};
    EXPECT_FALSE(tracker.process(64, 0, inputs, outputs, state));
    EXPECT_FALSE(tracker.process(-1, 1, inputs, outputs, state));
    EXPECT_FALSE(tracker.process(64, 1, nullptr, outputs, state));
    EXPECT_FALSE(tracker.process(64, 1, inputs, nullptr, state));
    EXPECT_FALSE(tracker.process(64, 1, nullInput, outputs, state));
    for (float v : out)
        ASSERT_EQ(v, -7.0f);
    EXPECT_TRUE(tracker.process(0, 1, inputs, outputs, state));
}

// A run keeps the settings it started with; changes made meanwhile (from the
// editor's thread) are kept for the next run.
TEST(SettingsDuringARun, ChangesApplyFromTheNextRun)
{
    const double fs = 44100;
    const std::vector<float> x = pilotTone(fs, 19000, static_cast<long>(2 * fs), sinusoidalWow(0.003, 1.0, fs));
    ToneTracker unchanged(static_cast<float>(fs));
    unchanged.setParameter(0, 1.0f);
    const std::vector<float> expected = track(unchanged, x);

    ToneTracker tracker(static_cast<float>(fs));
    tracker.setParameter(0, 1.0f);  // N = 8192
    TrackerRunState state;
    ASSERT_TRUE(tracker.startRun(state));
    const int delay = tracker.getDelay();
    std::vector<float> y(x.size());
    const size_t half = x.size() / 2;
    const float* in[1] = {x.data()};
    float* out[1] = {y.data()};
    ASSERT_TRUE(tracker.process(static_cast<int>(half), 1, in, out, state));
    for (int i = 0; i < 6; ++i)
        tracker.setParameter(i, 0.0f);  // N = 512, no overlap, orders 1
    EXPECT_EQ(tracker.getParameterDisplayValue(0), 512.0f);
    EXPECT_EQ(tracker.getDelay(), delay);
    in[0] = x.data() + half;
    out[0] = y.data() + half;
    ASSERT_TRUE(tracker.process(static_cast<int>(x.size() - half), 1, in, out, state));
    EXPECT_EQ(y, expected);

    ASSERT_TRUE(tracker.startRun(state));
    EXPECT_EQ(tracker.getDelay(), 767);  // 1.5 * 512 - 0 - 1 + 0
}

// Every corner of the parameter ranges, and values far outside them, runs
// within the tables and still reads a steady tone as 1.0.
TEST(SettingsDuringARun, ExtremeAndOutOfRangeSettingsStayInsideTheTables)
{
    const double fs = 48000;
    const std::vector<float> x = pilotTone(fs, 19000, 24000, steady());
    const float extremes[] = {-100.0f, 0.0f, 1.0f, 1e9f};
    for (int corner = 0; corner < 64; ++corner) {
        ToneTracker tracker(static_cast<float>(fs));
        for (int i = 0; i < 6; ++i)
            tracker.setParameter(i, extremes[((corner >> i) & 1) + ((corner + i) % 2) * 2]);
        const std::vector<float> y = track(tracker, x, 777);
        for (float v : y)
            ASSERT_NEAR(v, 1.0, 1e-4) << "corner " << corner;
    }
}

TEST(SampleRates, RatesThatCannotHoldAPilotAreRefusedWithAMessage)
{
    for (float fs : {8000.0f, 22050.0f, 24000.0f, 26000.0f, 28000.0f, 49000.0f, 50000.0f, 0.0f, -44100.0f,
                     std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        EXPECT_FALSE(ToneTracker::supportsSampleRate(fs)) << fs;
        ToneTracker tracker(fs);
        TrackerRunState state;
        EXPECT_FALSE(tracker.startRun(state)) << fs;
        EXPECT_NE(std::strstr(tracker.lastMessage(), "too low"), nullptr) << fs;
        std::vector<float> in(3000, 0.25f), out(3000, 0.0f);
        const float* inputs[1] = {in.data()};
        float* outputs[1] = {out.data()};
        EXPECT_FALSE(tracker.process(3000, 1, inputs, outputs, state));
        for (float v : out)
            ASSERT_EQ(v, 1.0f);
    }
}

// Just above the limits the band is narrow but real, and a tone in it is tracked.
TEST(SampleRates, RatesJustAboveTheLimitsTrackATone)
{
    for (const auto& [fs, f0] : {std::pair<double, double>{28800, 14200}, {52000, 25600}}) {
        ASSERT_TRUE(ToneTracker::supportsSampleRate(fs));
        ToneTracker tracker(static_cast<float>(fs));
        const std::vector<float> y = track(tracker, pilotTone(fs, f0, static_cast<long>(fs), steady()));
        EXPECT_STREQ(tracker.lastMessage(), "");
        for (float v : y)
            ASSERT_NEAR(v, 1.0, 1e-4) << fs;
    }
}

// A tone in the top bin is measured without reading past the spectrum.
TEST(SampleRates, ToneAtTheTopOfTheBandStaysInside)
{
    const double fs = 44100;
    ToneTracker tracker(static_cast<float>(fs));
    const std::vector<float> y = track(tracker, pilotTone(fs, fs / 2 - 5, static_cast<long>(fs), steady()));
    expectFinitePositive(y);
    EXPECT_LE(tracker.referenceFrequency(), fs / 2);
}

}  // namespace
