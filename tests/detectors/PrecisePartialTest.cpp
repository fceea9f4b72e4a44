// The precise partial tracker on synthetic harmonic notes with known speed:
// steady notes anywhere between bins, wow and flutter on a chord, notes that
// follow one another, chords that change all at once, a singer's vibrato that must not be taken for wow, a
// step in speed, noise, an area, and the parameter interface.

#include "detectors/PrecisePartialTracker.h"
#include "tests/detectors/TrackerSignals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace tracker_test;
using wowfix::PrecisePartialTracker;

constexpr double kFs = 44100.0;

struct Note {
    double frequency;   // fundamental at speed 1.0, Hz
    long start, end;    // samples
    double vibrato = 0.0;      // the note's own frequency modulation, peak (0.005 = 0.5 %)
    double vibratoRate = 5.5;  // Hz
    long release = 441;        // samples of the fade at its end
};

// Notes of five harmonics (1/h amplitudes) played back at speed ratio(n), with
// 10 ms fade-ins and fade-outs of `release` samples, over white noise of
// amplitude `noise`.
std::vector<float> playNotes(const std::vector<Note>& notes, long frames, const RatioCurve& ratio, float noise = 0.0f)
{
    std::vector<double> x(static_cast<size_t>(frames), 0.0);
    for (const Note& note : notes) {
        double phase = 0.0;
        for (long n = note.start; n < std::min(note.end, frames); ++n) {
            const double fade = std::min({1.0, (n - note.start) / 441.0, (note.end - n) / static_cast<double>(note.release)});
            const double own = 1.0 + note.vibrato * std::sin(2.0 * pi * note.vibratoRate * (n - note.start) / kFs);
            for (int h = 1; h <= 5; ++h)
                x[static_cast<size_t>(n)] += 0.05 * fade / h * std::sin(h * phase);
            phase += 2.0 * pi * note.frequency * own * ratio(n) / kFs;
        }
    }
    std::vector<float> out(x.size());
    Noise generator;
    for (size_t i = 0; i < x.size(); ++i) out[i] = static_cast<float>(x[i]) + generator.next(noise);
    return out;
}

bool runTracker(PrecisePartialTracker& tracker, const std::vector<float>& x)
{
    if (!tracker.startRun()) return false;
    for (size_t i = 0; i < x.size(); i += 1000)
        if (!tracker.process(x.data() + i, static_cast<int>(std::min<size_t>(1000, x.size() - i)))) return false;
    return tracker.finishRun();
}

// RMS difference from the true speed over from..to, both divided by their
// median over the same range (the tracker's reference is its median).
double rmsError(const PrecisePartialTracker& tracker, const RatioCurve& truth, long from, long to)
{
    std::vector<double> found, real;
    for (long i = from; i < to; i += 256) {
        found.push_back(tracker.ratioAt(i + 0.5));
        real.push_back(truth(i));
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double mf = median(found), mr = median(real);
    double sum = 0.0;
    for (size_t i = 0; i < found.size(); ++i) sum += std::pow(found[i] / mf - real[i] / mr, 2);
    return std::sqrt(sum / static_cast<double>(found.size()));
}

const std::vector<Note> chord(long frames)
{
    return {{220.0, 0, frames}, {277.18, 0, frames}, {329.63, 0, frames}};
}

TEST(PrecisePartialTracker, SteadyNoteReadsOneWhereverItLiesBetweenBins)
{
    const double bin = kFs / 4096.0;
    for (int k = 0; k < 8; ++k) {
        const double f0 = 20.0 * bin + k * bin / 8.0;
        const auto x = playNotes({{f0, 0, 66150}}, 66150, steady());
        PrecisePartialTracker tracker(kFs);
        ASSERT_TRUE(runTracker(tracker, x)) << tracker.lastMessage();
        for (long i = 4000; i < 62000; i += 1000)
            ASSERT_NEAR(tracker.ratioAt(i), 1.0, 1e-5) << f0 << " Hz at " << i;  // 0.001 %
    }
}

TEST(PrecisePartialTracker, WowAndFlutterOnAChord)
{
    struct Case {
        double depth, rate, tolerance;
    };
    const Case cases[] = {{0.003, 0.5, 5e-5}, {0.002, 2.0, 5e-5}, {0.001, 6.0, 1e-4}, {0.0005, 12.0, 2e-4}};
    const long frames = 4 * 44100;
    for (const Case& c : cases) {
        const RatioCurve truth = sinusoidalWow(c.depth, c.rate, kFs);
        PrecisePartialTracker tracker(kFs);
        ASSERT_TRUE(runTracker(tracker, playNotes(chord(frames), frames, truth))) << tracker.lastMessage();
        EXPECT_LT(rmsError(tracker, truth, 22050, frames - 22050), c.tolerance) << c.rate << " Hz";
    }
}

TEST(PrecisePartialTracker, SlowWowIsFollowedAcrossNoteChanges)
{
    // Two voices changing notes at different times, so one always sounds on.
    const long frames = 6 * 44100;
    std::vector<Note> notes;
    const double low[] = {196.0, 220.0, 246.94, 261.63, 293.66, 329.63};
    const double high[] = {392.0, 440.0, 493.88, 523.25, 587.33};
    for (int i = 0; i < 6; ++i) notes.push_back({low[i], i * 44100L, (i + 1) * 44100L + 2205});
    for (int i = 0; i < 5; ++i) notes.push_back({high[i], i * 44100L + 22050, (i + 1) * 44100L + 24255});
    const RatioCurve truth = sinusoidalWow(0.003, 0.25, kFs);
    PrecisePartialTracker tracker(kFs);
    ASSERT_TRUE(runTracker(tracker, playNotes(notes, frames, truth))) << tracker.lastMessage();
    EXPECT_LT(rmsError(tracker, truth, 22050, frames - 22050), 2e-4);
}

TEST(PrecisePartialTracker, WowAndFlutterAcrossSimultaneousNoteChanges)
{
    // Chords of three notes that all change at once every second: the old
    // chord fades out over 150 ms while the new one starts, so only partials
    // whose level is falling carry the speed across (and a falling level
    // pulls what is measured of them).
    const long frames = 8 * 44100;
    const double roots[] = {196.0, 220.0, 174.61, 246.94, 207.65, 233.08, 185.0, 261.63};
    std::vector<Note> notes;
    for (int i = 0; i < 8; ++i)
        for (double interval : {1.0, 1.19, 1.5})
            notes.push_back({roots[i] * interval, i * 44100L, (i + 1) * 44100L + 2205, 0.0, 5.5, 6615});
    const RatioCurve truth = [](double n) {
        return 1.0 + 0.003 * std::sin(2.0 * pi * 0.5 * n / kFs) + 0.001 * std::sin(2.0 * pi * 6.0 * n / kFs + 1.0);
    };
    PrecisePartialTracker tracker(kFs);
    ASSERT_TRUE(runTracker(tracker, playNotes(notes, frames, truth))) << tracker.lastMessage();
    // Holding the speed across each change instead left 0.15 % here.
    EXPECT_LT(rmsError(tracker, truth, 22050, frames - 22050), 7e-4);
}

TEST(PrecisePartialTracker, VibratoOfOneVoiceIsNotTakenForWow)
{
    // Two steady notes and, as many partials again, two singing with 0.5 %
    // vibrato at 5.5 Hz in one phase; steady, and under 0.3 % wow with 0.1 %
    // flutter at 6 Hz (close to the vibrato's rate, but common to every
    // partial).
    const long frames = 4 * 44100;
    std::vector<Note> notes = {{220.0, 0, frames}, {277.18, 0, frames}};
    notes.push_back({440.0, 0, frames, 0.005, 5.5});
    notes.push_back({659.26, 0, frames, 0.005, 5.5});
    struct Case {
        RatioCurve truth;
        double tolerance;
    };
    const RatioCurve wow = sinusoidalWow(0.003, 0.5, kFs), flutter = sinusoidalWow(0.001, 6.0, kFs);
    const Case cases[] = {{steady(), 5e-5}, {[&](long n) { return wow(n) * flutter(n); }, 1e-4}};
    for (const Case& c : cases) {
        PrecisePartialTracker tracker(kFs);
        ASSERT_TRUE(runTracker(tracker, playNotes(notes, frames, c.truth))) << tracker.lastMessage();
        EXPECT_LT(rmsError(tracker, c.truth, 22050, frames - 22050), c.tolerance);
    }
}

TEST(PrecisePartialTracker, StepInSpeedOnAChord)
{
    // The tape jumps to 0.2 % faster halfway: the step is followed within the
    // curve's bandwidth and its size is right on either side.
    const long frames = 4 * 44100, at = 2 * 44100;
    const RatioCurve truth = stepAt(at, 1.002);
    PrecisePartialTracker tracker(kFs);
    ASSERT_TRUE(runTracker(tracker, playNotes(chord(frames), frames, truth))) << tracker.lastMessage();
    double before = 0.0, after = 0.0;
    for (long i = at - 30000; i < at - 5000; i += 1000) before += tracker.ratioAt(i) / 25.0;
    for (long i = at + 5000; i < at + 30000; i += 1000) after += tracker.ratioAt(i) / 25.0;
    EXPECT_NEAR(after / before, 1.002, 2e-5);
    // Halfway up within 10 ms of the step.
    EXPECT_GT(tracker.ratioAt(at + 441) / before, 1.001);
    EXPECT_LT(tracker.ratioAt(at - 441) / before, 1.001);
}

TEST(PrecisePartialTracker, NoiseAtStatedSignalToNoiseRatios)
{
    const long frames = 4 * 44100;
    const RatioCurve truth = sinusoidalWow(0.002, 1.0, kFs);
    // The chord's RMS is about 0.075; uniform noise of amplitude a has RMS a / sqrt 3.
    struct Case {
        double snrDb, tolerance;
    };
    for (const Case& c : {Case{30.0, 5e-5}, Case{10.0, 2e-4}}) {
        const double noise = 0.075 / std::pow(10.0, c.snrDb / 20.0) * std::sqrt(3.0);
        PrecisePartialTracker tracker(kFs);
        ASSERT_TRUE(runTracker(tracker, playNotes(chord(frames), frames, truth, static_cast<float>(noise))))
            << tracker.lastMessage();
        EXPECT_LT(rmsError(tracker, truth, 22050, frames - 22050), c.tolerance) << c.snrDb << " dB";
    }
}

TEST(PrecisePartialTracker, AreaLimitsTheAnalysis)
{
    const long frames = 3 * 44100;
    const RatioCurve truth = sinusoidalWow(0.003, 1.0, kFs);
    PrecisePartialTracker tracker(kFs);
    tracker.setArea(44100.0, 88200.0);
    ASSERT_TRUE(runTracker(tracker, playNotes(chord(frames), frames, truth))) << tracker.lastMessage();
    EXPECT_EQ(tracker.ratioAt(20000.0), 1.0);
    EXPECT_EQ(tracker.ratioAt(100000.0), 1.0);
    EXPECT_LT(rmsError(tracker, truth, 60000, 84000), 1e-4);
    EXPECT_GT(tracker.confidenceAt(66150.0), 0.5);

    // The band: two notes above it that bend together slowly (1 Hz, too slow
    // for vibrato) outnumber the low note's partials and would be followed;
    // outside the band they do not count.
    std::vector<Note> notes = {{220.0, 0, frames}, {2000.0, 0, frames, 0.003, 1.0}, {2500.0, 0, frames, 0.003, 1.0}};
    const auto x = playNotes(notes, frames, steady());
    PrecisePartialTracker banded(kFs);
    banded.setArea(0.0, static_cast<double>(frames), 150.0, 1200.0);
    ASSERT_TRUE(runTracker(banded, x)) << banded.lastMessage();
    EXPECT_LT(rmsError(banded, steady(), 22050, frames - 22050), 2e-5);
    PrecisePartialTracker whole(kFs);
    whole.setParameter(2, 1.0f);  // up to 20 kHz
    ASSERT_TRUE(runTracker(whole, x)) << whole.lastMessage();
    EXPECT_GT(rmsError(whole, steady(), 22050, frames - 22050), 1e-4);
}

TEST(PrecisePartialTracker, RefusesWhatCannotWork)
{
    PrecisePartialTracker tracker(kFs);
    // Silence: no partials, no curve.
    EXPECT_FALSE(runTracker(tracker, std::vector<float>(44100, 0.0f)));
    EXPECT_STRNE(tracker.lastMessage(), "");
    EXPECT_EQ(tracker.ratioAt(1000.0), 1.0);
    // A band that lies above half of a low sampling rate.
    PrecisePartialTracker low(2000.0);
    low.setParameter(1, 1.0f);
    EXPECT_FALSE(low.startRun());
    // No run in progress.
    EXPECT_FALSE(tracker.process(nullptr, 0));
}

TEST(PrecisePartialTracker, ParameterInterface)
{
    PrecisePartialTracker tracker(kFs);
    ASSERT_EQ(tracker.getNumParams(), 4);
    const char* names[] = {"FFT Length", "Lowest frequency", "Highest frequency", "Curve bandwidth"};
    const float defaults[] = {4096.0f, 80.0f, 5000.0f, 20.0f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(tracker.parameterName(i), names[i]);
        EXPECT_STREQ(tracker.parameterLabel(i), i == 0 ? "smpl" : "Hz");
        EXPECT_EQ(tracker.getParameterDisplayValue(i), defaults[i]) << names[i];
    }
    tracker.setParameter(0, 1.0f);
    EXPECT_EQ(tracker.getParameterDisplayValue(0), 8192.0f);
    tracker.setParameter(0, -3.0f);
    EXPECT_EQ(tracker.getParameter(0), 0.0f);
    EXPECT_EQ(tracker.getParameterDisplayValue(0), 1024.0f);
    EXPECT_TRUE(tracker.setParameter(4, 0.5f));
    EXPECT_EQ(tracker.getParameter(4), 0.0f);
    EXPECT_STREQ(tracker.parameterName(4), "");
    EXPECT_EQ(tracker.findParameter("highest_frequency"), 2);
}

}  // namespace
