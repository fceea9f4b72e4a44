// The tuning anchor on synthetic partials: notes of four voices on a tempered
// grid (their own pitch 23 cents off 440 Hz), each with six harmonics (the
// fifth lies 14 cents off the grid), and a speed found with errors in its
// level such as hand-overs leave.

#include "detectors/PreciseTuningAnchor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using wowfix::PreciseObservations;

constexpr double kFrameRate = 44100.0 / 512.0;
constexpr double kCent = 0.69314718055994531 / 1200.0;  // log

struct Music {
    PreciseObservations observations;
    std::vector<double> truth;      // log speed per frame
    std::vector<double> reference;  // per track, as the solver would find it from `found`
    std::vector<double> found;      // the speed handed to the anchor
};

// `pitch(random)`: a note's fundamental; `error(t)`: the found speed's error
// at time t (s), log.
template <typename Pitch, typename Error>
Music play(double seconds, Pitch pitch, Error error, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int frames = static_cast<int>(seconds * kFrameRate);
    struct Note {
        int first, last;
        double frequency;
    };
    std::vector<Note> notes;
    for (int voice = 0; voice < 4; ++voice)
        for (int t = static_cast<int>(unit(random) * 20.0); t < frames;) {
            const int length = 25 + static_cast<int>(unit(random) * 60.0);
            notes.push_back({t, std::min(frames - 1, t + length), pitch(random) * std::pow(2.0, voice - 1.0)});
            t += length + 1 + static_cast<int>(unit(random) * 8.0);
        }
    std::sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) { return a.first < b.first; });

    Music m;
    m.truth.resize(static_cast<std::size_t>(frames));
    m.found.resize(static_cast<std::size_t>(frames));
    for (int t = 0; t < frames; ++t) {
        const double time = t / kFrameRate;
        m.truth[static_cast<std::size_t>(t)] = 0.003 * std::sin(2.0 * 3.14159265 * 0.5 * time);
        m.found[static_cast<std::size_t>(t)] = m.truth[static_cast<std::size_t>(t)] + error(time);
    }
    std::vector<double> sum(notes.size() * 6, 0.0), count(notes.size() * 6, 0.0);
    for (int t = 0; t < frames; ++t) {
        m.observations.beginFrame();
        for (std::size_t n = 0; n < notes.size(); ++n) {
            if (t < notes[n].first || t > notes[n].last) continue;
            for (int h = 1; h <= 6; ++h) {
                const std::uint32_t id = static_cast<std::uint32_t>(6 * n + h - 1);
                const double logF = std::log(h * notes[n].frequency) + m.truth[static_cast<std::size_t>(t)];
                m.observations.add(id, std::exp(logF), 1.0 / h);
                sum[id] += logF - m.found[static_cast<std::size_t>(t)];
                count[id] += 1.0;
            }
        }
    }
    for (std::size_t j = 0; j < sum.size(); ++j) m.reference.push_back(count[j] > 0.0 ? sum[j] / count[j] : NAN);
    return m;
}

double tempered(std::mt19937& random)
{
    std::uniform_int_distribution<int> step(0, 11);
    return 440.0 * std::pow(2.0, (step(random) + 23.0 / 100.0) / 12.0 - 1.0);
}

// RMS of (speed - truth) less its mean, in cents.
double levelError(const std::vector<double>& speed, const std::vector<double>& truth)
{
    double s = 0.0, q = 0.0;
    for (std::size_t t = 0; t < speed.size(); ++t) s += speed[t] - truth[t];
    const double mean = s / static_cast<double>(speed.size());
    for (std::size_t t = 0; t < speed.size(); ++t) q += std::pow(speed[t] - truth[t] - mean, 2);
    return std::sqrt(q / static_cast<double>(speed.size())) / kCent;
}

TEST(PreciseTuningAnchor, LevelErrorsOfTheSpeedAreTakenOutByTheTuning)
{
    // Steps of up to 2.5 cents every 3 s, as hand-overs leave them, on a slow
    // wander of 20 cents over the minute.
    const auto handOvers = [](double t) {
        const int piece = static_cast<int>(t / 3.0);
        return (20.0 * std::sin(2.0 * 3.14159265 * t / 120.0) + 2.5 * std::sin(piece * 2.3)) * kCent;
    };
    Music m = play(60.0, tempered, handOvers, 1);
    const double before = levelError(m.found, m.truth);
    std::vector<double> weights(m.reference.size(), 1.0);
    const wowfix::TuningAnchorResult result = wowfix::anchorToTuning(m.observations, m.reference, weights, kFrameRate, m.found);
    EXPECT_TRUE(result.found);
    EXPECT_GT(result.largestMove, 8.0 * kCent);
    EXPECT_GT(before, 5.0);
    // What is left is near the steps, within the notes that span them.
    EXPECT_LT(levelError(m.found, m.truth), 1.0) << "before " << before << " cents";
}

TEST(PreciseTuningAnchor, ASpeedFoundRightIsLeftAlmostAsItWas)
{
    // Well tuned and loosely tuned notes (each up to 4 cents off the grid).
    const auto exact = [](double) { return 0.0; };
    std::uniform_real_distribution<double> loose(-4.0, 4.0);
    const auto looseNote = [&](std::mt19937& random) { return tempered(random) * std::pow(2.0, loose(random) / 1200.0); };
    for (int looseness = 0; looseness < 2; ++looseness) {
        Music m = looseness == 0 ? play(30.0, tempered, exact, 2) : play(30.0, looseNote, exact, 2);
        std::vector<double> weights(m.reference.size(), 1.0);
        wowfix::anchorToTuning(m.observations, m.reference, weights, kFrameRate, m.found);
        EXPECT_LT(levelError(m.found, m.truth), looseness == 0 ? 0.05 : 0.8) << "looseness " << looseness;
    }
}

TEST(PreciseTuningAnchor, MusicWithoutATuningGridOrTooFewNotesIsLeftAlone)
{
    const auto step = [](double t) { return (t > 10.0 ? 3.0 : 0.0) * kCent; };
    std::uniform_real_distribution<double> anywhere(200.0, 400.0);
    const auto untuned = [&](std::mt19937& random) { return anywhere(random); };
    Music m = play(30.0, untuned, step, 3);
    const std::vector<double> kept = m.found;
    std::vector<double> weights(m.reference.size(), 1.0);
    EXPECT_FALSE(wowfix::anchorToTuning(m.observations, m.reference, weights, kFrameRate, m.found).found);
    EXPECT_EQ(m.found, kept);

    // Notes anywhere within 10 cents of the grid pin the level no better than
    // the solver: the steps stay as they were.
    std::uniform_real_distribution<double> wide(-10.0, 10.0);
    const auto looseNote = [&](std::mt19937& random) { return tempered(random) * std::pow(2.0, wide(random) / 1200.0); };
    Music loose = play(30.0, looseNote, step, 3);
    const std::vector<double> before = loose.found;
    const std::vector<double> looseWeights(loose.reference.size(), 1.0);
    EXPECT_FALSE(wowfix::anchorToTuning(loose.observations, loose.reference, looseWeights, kFrameRate, loose.found).found);
    EXPECT_EQ(loose.found, before);

    // One sustained chord: its partials agree with each other whatever its
    // tuning, so they are one witness and not enough.
    PreciseObservations chord;
    std::vector<double> x(600, 0.0), reference;
    for (int t = 0; t < 600; ++t) {
        chord.beginFrame();
        for (int k = 0; k < 8; ++k) chord.add(static_cast<std::uint32_t>(k), 261.0 * (k + 1) * std::exp(t < 300 ? 0.0 : 2.0 * kCent), 1.0);
    }
    for (int k = 0; k < 8; ++k) reference.push_back(std::log(261.0 * (k + 1)) + kCent);
    const std::vector<double> same = x;
    EXPECT_FALSE(wowfix::anchorToTuning(chord, reference, std::vector<double>(8, 1.0), kFrameRate, x).found);
    EXPECT_EQ(x, same);

    // Nothing usable: no frame rate, mismatched sizes, no observations.
    EXPECT_FALSE(wowfix::anchorToTuning(chord, reference, std::vector<double>(8, 1.0), 0.0, x).found);
    EXPECT_FALSE(wowfix::anchorToTuning(chord, reference, std::vector<double>(3, 1.0), kFrameRate, x).found);
    std::vector<double> empty;
    EXPECT_FALSE(wowfix::anchorToTuning(PreciseObservations(), {}, {}, kFrameRate, empty).found);
    EXPECT_EQ(x, same);
}

TEST(PreciseTuningAnchor, ASingersVibratoWeighsLittle)
{
    // Level steps as above; every fourth note swings by up to 30 cents
    // around its pitch over its life and is down-weighted as the solver
    // would. The speed comes out about as well as without the swing.
    const auto handOvers = [](double t) { return 2.5 * std::sin(static_cast<int>(t / 3.0) * 2.3) * kCent; };
    double after[2] = {0.0, 0.0}, before = 0.0;
    for (int sings = 0; sings < 2; ++sings) {
        Music m = play(40.0, tempered, handOvers, 4);
        std::vector<double> weights(m.reference.size(), 1.0);
        std::mt19937 random(9);
        std::uniform_real_distribution<double> swing(-30.0, 30.0);
        for (std::size_t j = 0; sings && j < m.reference.size(); j += 24)
            for (std::size_t h = j; h < std::min(m.reference.size(), j + 6); ++h) {
                m.reference[h] += swing(random) * kCent;
                weights[h] = 0.02;
            }
        before = levelError(m.found, m.truth);
        wowfix::anchorToTuning(m.observations, m.reference, weights, kFrameRate, m.found);
        after[sings] = levelError(m.found, m.truth);
    }
    EXPECT_LT(after[0], 0.6 * before);
    // (a little worse: a quarter of the notes no longer witness the tuning)
    EXPECT_LT(after[1], after[0] + 0.25) << "before " << before << " cents";
}

}  // namespace
