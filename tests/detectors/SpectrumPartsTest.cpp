// The tracker's building blocks on spectra whose answers are known: the shaper's
// peak for a tone on a bin, the smoother's kernels and frame means, the peak
// search rules and the prediction band's gains.

#include "detectors/PredictionBand.h"
#include "detectors/SpectralPeaks.h"
#include "detectors/SpectrumShaper.h"
#include "detectors/SpectrumSmoother.h"
#include "spectral/HartleyTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

using namespace wowfix;

namespace {

double centroidOf(const std::vector<double>& s)
{
    double moment = 0.0, mass = 0.0;
    for (size_t k = 0; k < s.size(); ++k) {
        moment += k * s[k];
        mass += s[k];
    }
    return moment / mass;
}

TEST(SpectrumShaper, ToneOnABinPeaksThereAndRefusesBadSettings)
{
    SpectrumShaper shaper;
    ASSERT_TRUE(shaper.configure(1024, 3));
    std::vector<float> frame(1024), work(1024);
    for (int i = 0; i < 1024; ++i)
        frame[i] = static_cast<float>(std::sin(2.0 * M_PI * 300.0 * i / 1024));
    shaper.applyWindow(frame.data(), work.data());
    HartleyTransform fft;
    ASSERT_TRUE(fft.realFft(1024, work.data()));
    std::vector<double> s(513);
    shaper.shapeSpectrum(work.data(), s.data());
    EXPECT_EQ(findPeak(s.data(), 1, 512), 300);
    // Hann: the neighbours are half the peak in magnitude, 1/16 in the 4th power
    // (times the pre-emphasis ratio).
    EXPECT_NEAR(s[299] / s[300], std::pow(0.5 * std::pow(300.0 / 301.0, 3), 4), 1e-3);

    EXPECT_FALSE(shaper.configure(1000, 3));
    EXPECT_FALSE(shaper.configure(16384, 3));
    EXPECT_FALSE(shaper.configure(1024, 0));
    EXPECT_FALSE(shaper.configure(1024, 6));
    EXPECT_EQ(shaper.fftLength(), 1024);
}

TEST(SpectrumSmoother, KernelsAcrossBinsAreCentredBoxesOfWidthF)
{
    SpectrumSmoother smoother;
    for (int F = 1; F <= 8; ++F) {
        ASSERT_TRUE(smoother.configure(200, F, 1));
        std::vector<double> spike(200, 0.0), out(200);
        spike[100] = 1.0;
        smoother.smoothAcrossBins(spike.data(), out.data());
        EXPECT_NEAR(std::accumulate(out.begin(), out.end(), 0.0), 1.0, 1e-12) << F;
        EXPECT_NEAR(centroidOf(out), 100.0, 1e-12) << F;
        EXPECT_NEAR(out[100], 1.0 / F, 1e-12) << F;
        const int reach = F / 2;
        EXPECT_NEAR(out[100 + reach], F % 2 ? 1.0 / F : 0.5 / F, 1e-12) << F;
        EXPECT_EQ(out[100 + reach + 1], 0.0) << F;
        // A flat spectrum stays flat up to both ends.
        std::vector<double> flat(200, 3.0);
        smoother.smoothAcrossBins(flat.data(), out.data());
        for (double v : out)
            ASSERT_NEAR(v, 3.0, 1e-12) << F;
    }
}

TEST(SpectrumSmoother, OverFramesIsTheMeanOfTheLastTFrames)
{
    SpectrumSmoother smoother;
    ASSERT_TRUE(smoother.configure(4, 1, 3));
    const double frames[] = {3.0, 6.0, 9.0, 1e30, 1e-6, 2e-6, 3e-6};
    std::vector<double> history;
    for (double value : frames) {
        history.push_back(value);
        std::vector<double> in(4, value), out(4);
        smoother.smoothOverFrames(in.data(), out.data());
        double sum = 0.0;
        for (size_t t = history.size() >= 3 ? history.size() - 3 : 0; t < history.size(); ++t)
            sum += history[t];
        // After the loud frame has left the window, nothing of it remains.
        for (double v : out)
            ASSERT_NEAR(v, sum / 3, 1e-9 * sum) << value;
    }
    smoother.reset();
    std::vector<double> in(4, 6.0), out(4);
    smoother.smoothOverFrames(in.data(), out.data());
    EXPECT_DOUBLE_EQ(out[0], 2.0);

    EXPECT_FALSE(smoother.configure(0, 1, 1));
    EXPECT_FALSE(smoother.configure(4098, 1, 1));
    EXPECT_FALSE(smoother.configure(10, 9, 1));
    EXPECT_FALSE(smoother.configure(10, 1, 17));
    EXPECT_EQ(smoother.bins(), 4);
}

TEST(SpectralPeaks, SearchRules)
{
    const std::vector<double> s = {0, 1, 5, 2, 5, 0, 0, 0};
    EXPECT_EQ(findPeak(s.data(), 0, 7), 2);  // equal maxima: the lowest bin
    EXPECT_EQ(findPeak(s.data(), 5, 7), -1);  // nothing above 0
    EXPECT_EQ(findPeak(s.data(), 4, 3), -1);  // empty range
    EXPECT_EQ(climbToPeak(s.data(), 0, 0, 7), 2);
    EXPECT_EQ(climbToPeak(s.data(), 3, 3, 7), 4);
    EXPECT_DOUBLE_EQ(localCentroid(s.data(), 3, 1, 0, 7), (2 * 5 + 3 * 2 + 4 * 5) / 12.0);
    EXPECT_DOUBLE_EQ(localCentroid(s.data(), 6, 1, 0, 7), 6.0);  // nothing there: the peak itself
    EXPECT_DOUBLE_EQ(localCentroid(s.data(), 1, 3, 1, 7), (1 * 1 + 2 * 5 + 3 * 2 + 4 * 5) / 13.0);
}

TEST(SpectralPeaks, ToneStandsOutNoiseDoesNot)
{
    std::vector<double> s(64, 1.0);
    s[30] = 999.0;
    EXPECT_FALSE(standsOut(s.data(), 30, 8, 0, 63, 1000.0));
    s[30] = 1000.0;
    EXPECT_TRUE(standsOut(s.data(), 30, 8, 0, 63, 1000.0));
    std::vector<double> silent(64, 0.0);
    EXPECT_FALSE(standsOut(silent.data(), 30, 8, 0, 63, 1000.0));
}

TEST(PredictionBand, GainsRiseToOneAtThePredictionAndFallAbove)
{
    const PredictionBand band(400.0, 84, 1, 512);
    const double w2 = 40.0, w1 = 33.6;
    EXPECT_EQ(band.first(), static_cast<int>(std::ceil(400 - w1)));
    EXPECT_EQ(band.last(), 439);  // the bin at pb + w2 has gain 0
    EXPECT_DOUBLE_EQ(band.gain(400), 1.0);
    EXPECT_NEAR(band.gain(401), std::pow(w2 / (w2 + 1), 2), 1e-12);
    EXPECT_NEAR(band.gain(439), std::pow(2.0 / (w2 + 1), 2), 1e-12);
    EXPECT_EQ(band.gain(440), 0.0);
    for (int j = band.first(); j < 400; ++j)
        ASSERT_LT(band.gain(j), band.gain(j + 1)) << j;
    for (int j = 400; j < band.last(); ++j)
        ASSERT_GT(band.gain(j), band.gain(j + 1)) << j;
    // The rising side is the steeper one.
    EXPECT_LT(band.gain(390), band.gain(410));

    // Cut to the spectrum's bins.
    const PredictionBand top(500.0, 84, 1, 512);
    EXPECT_EQ(top.last(), 512);
    const PredictionBand bottom(0.2, 84, 1, 512);
    EXPECT_GE(bottom.first(), 1);
}

TEST(PredictionBand, NotchIsSymmetricAndZeroAtItsCentre)
{
    PredictionBand band(400.0, 100, 1, 512);
    const PredictionBand plain(400.0, 100, 1, 512);
    band.addNotch(380.5, 3.0);
    EXPECT_NEAR(band.gain(380) / plain.gain(380), 0.9 * 0.5 / 3.0, 1e-12);
    EXPECT_NEAR(band.gain(381) / plain.gain(381), 0.9 * 0.5 / 3.0, 1e-12);
    EXPECT_NEAR(band.gain(378) / plain.gain(378), 0.9 * 2.5 / 3.0, 1e-12);
    EXPECT_DOUBLE_EQ(band.gain(384), plain.gain(384));

    std::vector<double> s(513, 0.0);
    s[390] = 1.0;
    EXPECT_DOUBLE_EQ(band.centroid(s.data()), 390.0);
    s.assign(513, 0.0);
    EXPECT_EQ(band.centroid(s.data()), -1.0);
}

}  // namespace
