// What the damaged recording holds: tones at the warped time, higher where
// the recording runs fast; the pilot and the test tone damaged with the
// programme, the hum not; the drift's depth and its closed-form integral.

#include <gtest/gtest.h>

#include <cmath>

#include "GenTestSupport.h"
#include "tools/gen/DamagedRecording.h"
#include "tools/gen/DriftCurve.h"
#include "tools/gen/SpeedModel.h"

namespace wowfix::gentest {
namespace {

std::vector<float> renderAll(const gen::GeneratorSettings& settings) {
    std::string error;
    std::unique_ptr<gen::DamagedRecording> recording = gen::DamagedRecording::create(settings, error);
    EXPECT_NE(recording, nullptr) << error;
    if (recording == nullptr) return {};
    std::vector<float> samples(static_cast<std::size_t>(recording->frames() * recording->channels()));
    EXPECT_TRUE(recording->render(samples.data(), static_cast<long>(recording->frames()), error)) << error;
    return samples;
}

gen::GeneratorSettings monoSilence(double seconds) {
    gen::GeneratorSettings s;
    s.channels = 1;
    s.seconds = seconds;
    s.programme.kind = gen::ProgrammeKind::Silence;
    return s;
}

double amplitude(double db) { return std::pow(10.0, db / 20.0); }

// Times of the upward zero crossings, by linear interpolation.
std::vector<double> upwardCrossings(const std::vector<float>& x, double fs) {
    std::vector<double> times;
    for (std::size_t n = 1; n < x.size(); ++n)
        if (x[n - 1] < 0.0f && x[n] >= 0.0f) times.push_back((n - 1 + x[n - 1] / (x[n - 1] - x[n])) / fs);
    return times;
}

TEST(DamagedRecording, SineProgrammeHoldsEachToneAtTheWarpedTime) {
    gen::GeneratorSettings s = monoSilence(3.0);
    s.programme.kind = gen::ProgrammeKind::Sines;
    s.programme.tones = {{1000.0, -6.0}, {3150.0, -12.0}};
    s.wow = {0.5, 0.7};
    s.flutter = {0.2, 8.0};
    const std::vector<float> y = renderAll(s);
    const std::vector<double> tau = integratedWarpedTime(s.wow, s.flutter, 44100.0, 3 * 44100);
    double worst = 0.0;
    for (std::size_t n = 0; n < y.size(); ++n) {
        const double expected = amplitude(-6.0) * std::sin(2.0 * M_PI * 1000.0 * tau[n]) +
                                amplitude(-12.0) * std::sin(2.0 * M_PI * 3150.0 * tau[n]);
        worst = std::max(worst, std::fabs(y[n] - expected));
    }
    EXPECT_LT(worst, 2e-7);
}

TEST(DamagedRecording, ToneSoundsHigherWhereTheRecordingRunsFast) {
    gen::GeneratorSettings s = monoSilence(2.0);
    s.programme.kind = gen::ProgrammeKind::Sines;
    s.programme.tones = {{1000.0, -6.0}};
    s.wow = {1.0, 1.0};  // speed 1 + 0.01·sin(2π·t)
    const std::vector<double> crossings = upwardCrossings(renderAll(s), 44100.0);
    ASSERT_GT(crossings.size(), 1900u);
    // The mean frequency over ten periods, placed at their middle.
    for (std::size_t k = 10; k < crossings.size(); ++k) {
        const double middle = 0.5 * (crossings[k] + crossings[k - 10]);
        const double heard = 10.0 / (crossings[k] - crossings[k - 10]);
        ASSERT_NEAR(heard, 1000.0 * (1.0 + 0.01 * std::sin(2.0 * M_PI * middle)), 0.02) << "at " << middle << " s";
    }
}

TEST(DamagedRecording, TestToneAndPilotAreDamagedHumIsNot) {
    gen::GeneratorSettings s = monoSilence(2.0);
    s.wow = {0.4, 1.3};
    s.testToneLevel = -20.0;
    s.pilot = gen::ToneLevel{19000.0, -30.0};
    s.hum = gen::ToneLevel{50.0, -40.0};
    s.humDriftPercent = 0.0;
    const std::vector<double> tau = integratedWarpedTime(s.wow, {}, 44100.0, 2 * 44100);
    auto tapeTones = [&](std::size_t n) {
        return amplitude(-20.0) * std::sin(2.0 * M_PI * 3150.0 * tau[n]) +
               amplitude(-30.0) * std::sin(2.0 * M_PI * 19000.0 * tau[n]);
    };
    const std::vector<float> played = renderAll(s);
    s.humOnTape = true;
    const std::vector<float> taped = renderAll(s);
    double worstPlayed = 0.0, worstTaped = 0.0;
    for (std::size_t n = 0; n < played.size(); ++n) {
        const double t = n / 44100.0;
        worstPlayed = std::max(worstPlayed, std::fabs(played[n] - tapeTones(n) -
                                                      amplitude(-40.0) * std::sin(2.0 * M_PI * 50.0 * t)));
        worstTaped = std::max(worstTaped, std::fabs(taped[n] - tapeTones(n) -
                                                    amplitude(-40.0) * std::sin(2.0 * M_PI * 50.0 * tau[n])));
    }
    EXPECT_LT(worstPlayed, 2e-7);
    EXPECT_LT(worstTaped, 2e-7);
}

TEST(DamagedRecording, HumWandersWithItsOwnMainsDrift) {
    gen::GeneratorSettings s = monoSilence(20.0);
    s.hum = gen::ToneLevel{50.0, -10.0};
    s.humDriftPercent = 0.5;
    const std::vector<double> crossings = upwardCrossings(renderAll(s), 44100.0);
    double largest = 0.0;
    for (std::size_t k = 1; k < crossings.size(); ++k)
        largest = std::max(largest, std::fabs(1.0 / (crossings[k] - crossings[k - 1]) / 50.0 - 1.0));
    EXPECT_NEAR(largest, 0.005, 0.0003);
}

TEST(DriftCurve, PeaksAtItsDepthOverTheFile) {
    const double fs = 8000.0;
    const std::int64_t frames = 60 * 8000;
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        const gen::DriftCurve drift(0.002, 0.01, 0.1, gen::Random(seed, gen::RandomStream::Drift), fs, frames);
        double largest = 0.0;
        for (std::int64_t n = 0; n < frames; ++n) largest = std::max(largest, std::fabs(drift.value(n / fs)));
        EXPECT_NEAR(largest, 0.002, 1e-15) << "seed " << seed;
    }
}

TEST(SpeedModel, WarpedTimeIsTheIntegralOfTheSpeedDriftIncluded) {
    const double fs = 1000.0;
    const gen::SpeedModel model({0.3, 0.5}, {0.1, 6.0},
                                gen::DriftCurve(0.2e-2, 0.01, 0.1, gen::Random(7, gen::RandomStream::Drift), fs, 60000));
    long double tau = 0.0L;
    double worst = 0.0;
    for (int n = 0; n < 60000; ++n) {
        const double t0 = n / fs, h = 1.0 / fs;
        worst = std::max(worst, std::fabs(static_cast<double>(tau) - model.warpedTime(t0)));
        tau += h / 6.0 * (model.speed(t0) + 4.0 * model.speed(t0 + 0.5 * h) + model.speed(t0 + h));
    }
    EXPECT_LT(worst, 1e-10);  // seconds, after a minute
    EXPECT_NEAR(model.frameRatio(0, fs), fs * (model.warpedTime(1.0 / fs) - model.warpedTime(0.0)), 1e-12);
}

}  // namespace
}  // namespace wowfix::gentest
