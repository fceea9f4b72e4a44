// The joint speed solve and its vibrato check on synthetic partial
// measurements: the tape's wow and flutter common to every partial, one voice
// with a singer's vibrato on top, notes that hand over to one another.

#include "detectors/PreciseSpeedSolver.h"
#include "detectors/PreciseVibratoCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using wowfix::PreciseObservations;
using wowfix::PreciseSpeedSolver;

constexpr double kPi = 3.14159265358979323846;
constexpr double kFrameRate = 44100.0 / 512.0;

std::vector<double> swing(int count, double depth, double rate, double slope = 0.0)
{
    std::vector<double> v(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = i / kFrameRate;
        v[static_cast<size_t>(i)] = depth * std::sin(2.0 * kPi * rate * t + 0.7) + slope * t;
    }
    return v;
}

TEST(PreciseVibratoCheck, MeasuresASwingAtVibratoRatesOnly)
{
    // A 5.5 Hz swing of 0.5 % over half a second is read to a few per cent,
    // also with a slow wow across the note and gaps in the track.
    std::vector<double> v = swing(43, 0.005, 5.5, 0.004);
    EXPECT_NEAR(wowfix::periodicDeviation(v, 1.0 / kFrameRate), 0.005, 2.5e-4);
    for (size_t i = 5; i < v.size(); i += 7) v[i] = NAN;
    EXPECT_NEAR(wowfix::periodicDeviation(v, 1.0 / kFrameRate), 0.005, 3e-4);
    // A wow of the same depth at 0.5 Hz, or a bend, is not a vibrato.
    EXPECT_LT(wowfix::periodicDeviation(swing(43, 0.005, 0.5), 1.0 / kFrameRate), 0.001);
    EXPECT_LT(wowfix::periodicDeviation(swing(43, 0.0, 0.0, 0.01), 1.0 / kFrameRate), 1e-6);
    // Too few values to tell anything.
    EXPECT_EQ(wowfix::periodicDeviation(swing(3, 0.005, 5.5), 1.0 / kFrameRate), 0.0);

    EXPECT_GT(wowfix::steadinessWeight(0.5e-3, 1e-3), 0.9);
    EXPECT_LT(wowfix::steadinessWeight(3e-3, 1e-3), 0.02);
}

struct Voice {
    double frequency;  // fundamental at speed 1.0
    int first, last;   // frames
    double vibrato;    // peak, at 5.5 Hz
    double gain = 1.0;
};

// Five harmonics per voice; speed(t) the tape's log speed at frame t.
PreciseObservations measure(const std::vector<Voice>& voices, int frames, double (*speed)(double))
{
    PreciseObservations obs;
    for (int t = 0; t < frames; ++t) {
        obs.beginFrame();
        std::uint32_t id = 0;
        for (const Voice& v : voices) {
            for (int h = 1; h <= 5; ++h, ++id) {
                if (t < v.first || t > v.last) continue;
                const double own = v.vibrato * std::sin(2.0 * kPi * 5.5 * (t - v.first) / kFrameRate);
                obs.add(id, h * v.frequency * std::exp(speed(t / kFrameRate) + own), v.gain / h);
            }
        }
    }
    return obs;
}

double tape(double t) { return 0.003 * std::sin(2.0 * kPi * 0.5 * t) + 0.001 * std::sin(2.0 * kPi * 6.0 * t); }

// RMS of the solved speed against the truth, both taken relative to their mean.
double rmsError(const PreciseSpeedSolver& solver, double (*speed)(double), int from, int to)
{
    double n = 0, sx = 0, st = 0;
    for (int t = from; t < to; ++t)
        if (std::isfinite(solver.logSpeed()[static_cast<size_t>(t)])) {
            n += 1; sx += solver.logSpeed()[static_cast<size_t>(t)]; st += speed(t / kFrameRate);
        }
    double q = 0;
    for (int t = from; t < to; ++t) {
        const double x = solver.logSpeed()[static_cast<size_t>(t)];
        if (std::isfinite(x)) q += std::pow(x - sx / n - (speed(t / kFrameRate) - st / n), 2);
    }
    return n > 0 ? std::sqrt(q / n) : 1.0;
}

TEST(PreciseSpeedSolver, SingersVibratoIsDownWeightedAndLeftOutOfTheSpeed)
{
    // Two steady voices and one singing with 0.5 % vibrato, louder than both
    // together, over 0.3 % wow and 0.1 % flutter at 6 Hz (which is in the
    // vibrato band too, but common to all).
    const int frames = 344;  // 4 s
    const std::vector<Voice> voices = {{220.0, 0, frames - 1, 0.0}, {330.0, 0, frames - 1, 0.0}, {440.0, 0, frames - 1, 0.005, 3.0}};
    PreciseObservations obs = measure(voices, frames, tape);
    PreciseSpeedSolver solver;
    solver.solve(obs, kFrameRate);
    for (std::uint32_t id = 0; id < 15; ++id) {
        if (id >= 10)
            EXPECT_LT(solver.trackWeight(id), 0.05) << "singing partial " << id;
        else
            EXPECT_GT(solver.trackWeight(id), 0.9) << "steady partial " << id;
    }
    EXPECT_NEAR(solver.tapeSwing(), 0.001, 2e-4);
    EXPECT_LT(rmsError(solver, tape, 10, frames - 10), 2e-5);
}

TEST(PreciseSpeedSolver, NotesHandOverWithoutLosingTheSlowSpeed)
{
    // Notes of 0.5 s overlapping by 0.1 s in two voices: the 0.5 Hz wow is
    // only known through the hand-overs, and one voice sings.
    std::vector<Voice> voices;
    for (int k = 0; k < 14; ++k) {
        voices.push_back({196.0 * std::pow(1.06, k % 5), k * 43, k * 43 + 51, 0.0});
        voices.push_back({523.0 * std::pow(1.06, (k + 2) % 5), k * 43 + 21, k * 43 + 72, 0.005});
    }
    const int frames = 14 * 43 + 51;
    PreciseSpeedSolver solver;
    solver.solve(measure(voices, frames, tape), kFrameRate);
    EXPECT_LT(rmsError(solver, tape, 10, frames - 10), 1e-4);
}

// Chords of three voices that all change at once every second, with `gap`
// frames between one chord's end and the next one's start; every partial
// measured with a small noise of its own (0.002 % RMS).
PreciseObservations chords(int count, int length, int gap, double (*speed)(double))
{
    PreciseObservations obs;
    std::uint32_t state = 12345u;
    const auto noise = [&state]() {
        double sum = 0.0;
        for (int i = 0; i < 4; ++i) {
            state = state * 1664525u + 1013904223u;
            sum += (state >> 8) / 16777216.0 - 0.5;
        }
        return sum * std::sqrt(3.0) * 2e-5;  // unit variance times 2e-5
    };
    const int frames = count * (length + gap);
    for (int t = 0; t < frames; ++t) {
        obs.beginFrame();
        const int chord = t / (length + gap);
        if (t - chord * (length + gap) >= length)
            continue;
        const double root = 180.0 * std::pow(1.122, chord % 4);
        for (int v = 0; v < 3; ++v)
            for (int h = 1; h <= 5; ++h) {
                const std::uint32_t id = static_cast<std::uint32_t>((chord * 3 + v) * 5 + h - 1);
                const double f = h * root * (1.0 + 0.26 * v);
                obs.add(id, f * std::exp(speed(t / kFrameRate) + noise()), 1.0 / h);
            }
    }
    return obs;
}

double tapeWithDrift(double t) { return tape(t) + 0.0002 * t; }

TEST(PreciseSpeedSolver, SpeedIsCarriedAcrossSimultaneousNoteChanges)
{
    // Nothing sounds across the changes, so only how the speed went on before
    // tells where it goes after: the 6 Hz flutter moves the speed by up to
    // 0.04 % a frame, a step of 0.1 % and more over a gap if it were held.
    // A steady drift (0.02 % a second) is no swing and is kept.
    for (int gap : {0, 4, 8}) {
        const int length = 86, count = 10;
        PreciseSpeedSolver solver;
        solver.solve(chords(count, length, gap, tapeWithDrift), kFrameRate);
        EXPECT_LT(rmsError(solver, tapeWithDrift, 10, count * (length + gap) - 10), 3e-5) << "gap " << gap;
    }
}

TEST(PreciseSpeedSolver, ALonePartialAcrossAChangeDoesNotPullTheSpeed)
{
    // Chords change all at once with gaps of 8 frames, and one partial
    // sounds on through every gap, alone there, steady otherwise; in the gaps
    // its measured frequency bumps by up to 0.1 % (a release or an onset
    // nearby pulls it). Alone it cannot be checked against anything: the
    // speed there comes from how it went on before and after, not from it.
    const int length = 86, gap = 8, count = 10, period = length + gap;
    PreciseObservations with = chords(count, length, gap, tape);
    PreciseObservations obs;
    const std::uint32_t lone = 1000;
    for (int t = 0; t < count * period; ++t) {
        obs.beginFrame();
        for (const wowfix::PreciseObservation* o = with.frameBegin(static_cast<size_t>(t)); o != with.frameEnd(static_cast<size_t>(t)); ++o)
            obs.add(o->track, std::exp(with.logFrequency(*o)), o->weight);
        const int into = t % period;
        const double bump = into >= length ? 0.001 * std::sin(kPi * (into - length + 1) / (gap + 1)) : 0.0;
        obs.add(lone, 1000.0 * std::exp(tape(t / kFrameRate) + bump), 1.0);
    }
    PreciseSpeedSolver solver;
    solver.solve(obs, kFrameRate);
    EXPECT_LT(rmsError(solver, tape, 10, count * period - 10), 3e-5);
}

TEST(PreciseSpeedSolver, ASingleToneStillGivesTheSpeedWithConfidence)
{
    // One steady tone alone all through: its frames weigh less in the solve
    // for having one partial, but that is no doubt about the speed it shows.
    const int frames = 344;
    PreciseObservations obs;
    for (int t = 0; t < frames; ++t) {
        obs.beginFrame();
        obs.add(0, 1000.0 * std::exp(tape(t / kFrameRate)), 1.0);
    }
    PreciseSpeedSolver solver;
    solver.solve(obs, kFrameRate);
    for (int t = 2; t < frames - 2; ++t)
        ASSERT_TRUE(std::isfinite(solver.logSpeed()[static_cast<size_t>(t)])) << "frame " << t;
    EXPECT_GT(solver.confidence()[100], 0.3f);
    EXPECT_LT(rmsError(solver, tape, 10, frames - 10), 1e-5);
}

TEST(PreciseSpeedSolver, AShortRunIsSolvedWithoutAPrior)
{
    // Too few frames to learn how the speed goes on: the sweeps alone, as
    // accurate as the partials allow while notes overlap.
    std::vector<Voice> voices = {{220.0, 0, 60, 0.0}, {330.0, 30, 99, 0.0}};
    PreciseSpeedSolver solver;
    solver.solve(measure(voices, 100, tape), kFrameRate);
    EXPECT_LT(rmsError(solver, tape, 5, 95), 2e-5);
}

TEST(PreciseSpeedSolver, NothingObservedGivesNoSpeed)
{
    PreciseObservations obs;
    for (int t = 0; t < 10; ++t) obs.beginFrame();
    PreciseSpeedSolver solver;
    solver.solve(obs, kFrameRate);
    for (double x : solver.logSpeed()) EXPECT_TRUE(std::isnan(x));
    EXPECT_EQ(solver.trackWeight(0), 0.0);
}

}  // namespace
