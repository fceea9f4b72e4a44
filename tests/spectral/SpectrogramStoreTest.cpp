#include "spectral/SpectrogramStore.h"

#include "spectral/WindowFunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace wowfix {
namespace {

const double kPi = 4.0 * std::atan(1.0);
constexpr int kPanelColumns = 668;
constexpr int kPanelRows = 259;

// The settings the editor applies when its window opens.
void applyEditorDefaults(SpectrogramStore& s) {
    s.reset();
    s.setFftLength(1024);
    s.setSampleRate(22050.0f);
    s.setColumnCount(kPanelColumns);
    s.setRowCount(kPanelRows);
    s.setWindowType(2);
    s.rebuildWindow();
    s.allocateColumns();
    s.resetFrequencyZoom();
    s.setDbRange(120.0f);
    s.setLowDb(12.0f);
    s.setHighDb(105.0f);
}

// The acquisition's feed loop: offer each sample until it is consumed, and
// record the columns in the order they complete.
std::vector<int> feedAll(SpectrogramStore& s, int count, const std::function<float(int)>& sample) {
    std::vector<int> completed;
    for (int i = 0; i < count; ++i) {
        const float x = sample(i);
        while (s.feedSample(x)) {
            EXPECT_EQ(s.nextSample(), i) << "a completed column must not consume the sample";
            completed.push_back(s.lastColumn());
        }
    }
    return completed;
}

// --- Settings ----------------------------------------------------------------

TEST(SpectrogramStoreSettings, ConstructedWithDefaults) {
    SpectrogramStore s;
    EXPECT_EQ(s.fftLength(), 1024);
    EXPECT_EQ(s.halfLength(), 512);
    EXPECT_FLOAT_EQ(s.sampleRate(), 44100.0f);
    EXPECT_FLOAT_EQ(s.maxFrequency(), 22050.0f);
    EXPECT_FLOAT_EQ(s.binWidth(), 43.066406f);
    EXPECT_FLOAT_EQ(s.referenceFrequency(), 11025.0f);
    EXPECT_EQ(s.windowType(), kBlackmanWindow);
    EXPECT_FLOAT_EQ(s.floorAmplitude(), 1e-6f);
    EXPECT_FALSE(s.columnsAllocated());
    for (int i = 0; i < 1024; ++i) ASSERT_EQ(s.window()[i], windowCoefficient(kBlackmanWindow, i, 1024));
}

TEST(SpectrogramStoreSettings, FftLengthUpdatesNyquistAndReference) {
    SpectrogramStore s;
    EXPECT_TRUE(s.setFftLength(2048));
    EXPECT_FLOAT_EQ(s.maxFrequency(), 22050.0f);
    EXPECT_FLOAT_EQ(s.referenceFrequency(), 11025.0f);
    EXPECT_FLOAT_EQ(s.binWidth(), 44100.0f / 2048);
    EXPECT_EQ(s.halfLength(), 1024);
}

TEST(SpectrogramStoreSettings, UnsupportedFftLengthsAreClamped) {
    SpectrogramStore s;
    EXPECT_FALSE(s.setFftLength(1 << 20));
    EXPECT_EQ(s.fftLength(), SpectrogramStore::kMaxFftLength);
    EXPECT_FALSE(s.setFftLength(1000));
    EXPECT_EQ(s.fftLength(), 512);
    EXPECT_FALSE(s.setFftLength(0));
    EXPECT_EQ(s.fftLength(), SpectrogramStore::kMinFftLength);
    EXPECT_FALSE(s.setFftLength(-64));
    EXPECT_EQ(s.fftLength(), SpectrogramStore::kMinFftLength);
    EXPECT_EQ(s.halfLength(), s.fftLength() / 2);
}

TEST(SpectrogramStoreSettings, InvalidSampleRatesAreRefused) {
    SpectrogramStore s;
    EXPECT_FALSE(s.setSampleRate(0.0f));
    EXPECT_FALSE(s.setSampleRate(-44100.0f));
    EXPECT_FALSE(s.setSampleRate(std::nanf("")));
    EXPECT_FLOAT_EQ(s.sampleRate(), 44100.0f);
    EXPECT_TRUE(s.setSampleRate(48000.0f));
    EXPECT_FLOAT_EQ(s.maxFrequency(), 24000.0f);
    EXPECT_FLOAT_EQ(s.referenceFrequency(), 12000.0f);
}

TEST(SpectrogramStoreSettings, WindowTypeAboveTheLastBecomesHann) {
    SpectrogramStore s;
    s.setWindowType(4);
    EXPECT_EQ(s.windowType(), kHannWindow);
    s.setWindowType(kHammingWindow);
    EXPECT_EQ(s.windowType(), kHammingWindow);
    s.setWindowType(0);
    EXPECT_EQ(s.windowType(), kBoxcarWindow);
    EXPECT_FLOAT_EQ(s.window()[100], 2.0f / 1024);
}

TEST(SpectrogramStoreSettings, LowDbAboveTheRangePushesHighDbUp) {
    SpectrogramStore s;
    s.setDbRange(120.0f);
    s.setHighDb(105.0f);
    s.setLowDb(130.0f);
    EXPECT_FLOAT_EQ(s.lowDb(), 119.0f);
    EXPECT_FLOAT_EQ(s.highDb(), 120.0f);
}

TEST(SpectrogramStoreSettings, HighDbBelowOnePullsLowDbDown) {
    SpectrogramStore s;
    s.setLowDb(12.0f);
    s.setHighDb(0.5f);
    EXPECT_FLOAT_EQ(s.highDb(), 1.0f);
    EXPECT_FLOAT_EQ(s.lowDb(), 0.0f);
}

TEST(SpectrogramStoreSettings, ShrinkingTheRangeKeepsTheLevelWindowInside) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    s.setDbRange(50.0f);
    EXPECT_LE(s.highDb(), 50.0f);
    EXPECT_LT(s.lowDb(), s.highDb());
    s.setDbRange(-10.0f);
    EXPECT_FLOAT_EQ(s.dbRange(), SpectrogramStore::kMinDbRange);
    EXPECT_LT(s.lowDb(), s.highDb());
    s.setDbRange(1e6f);
    EXPECT_FLOAT_EQ(s.dbRange(), SpectrogramStore::kMaxDbRange);
    EXPECT_GT(s.floorAmplitude(), 0.0f);
}

TEST(SpectrogramStoreSettings, ColumnAndRowCountsAreClamped) {
    SpectrogramStore s;
    s.setColumnCount(1 << 20);
    EXPECT_EQ(s.columns(), SpectrogramStore::kMaxColumns);
    s.setRowCount(-3);
    EXPECT_EQ(s.rows(), 0);
    // With no rows every mapping stays defined.
    EXPECT_EQ(s.rowOfValue(1.0f), 0);
    EXPECT_FLOAT_EQ(s.frequencyAtRow(10), s.frequencyAtRow(0));
    EXPECT_EQ(s.levelLinear(0, 0), 0.0f);
}

TEST(SpectrogramStoreSettings, EditorDefaultsShowTheWholeBand) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    EXPECT_TRUE(s.columnsAllocated());
    EXPECT_EQ(s.columns(), kPanelColumns);
    EXPECT_EQ(s.rows(), kPanelRows);
    EXPECT_FLOAT_EQ(s.bottomFrequency(), 0.0f);
    EXPECT_NEAR(s.topFrequency(), 11025.0f, 0.01f);
    EXPECT_FLOAT_EQ(s.frequencyZoom(), 1.0f);
    EXPECT_FLOAT_EQ(s.binsPerRow(), 512.0f / kPanelRows);
    EXPECT_FLOAT_EQ(s.lowDb(), 12.0f);
    EXPECT_FLOAT_EQ(s.highDb(), 105.0f);
    EXPECT_FLOAT_EQ(s.minFrequencySpan(), 4.0f * 22050.0f / 1024.0f);
    EXPECT_EQ(s.minSampleSpan(), 1024 + 2 * kPanelColumns - 2);
}

// --- Mappings ------------------------------------------------------------------

class StoreMappings : public ::testing::Test {
protected:
    void SetUp() override {
        applyEditorDefaults(s);
        s.setSampleRate(44100.0f);
        s.resetFrequencyZoom();
    }
    SpectrogramStore s;
};

TEST_F(StoreMappings, RowsAndFrequenciesAtTheEdges) {
    EXPECT_FLOAT_EQ(s.frequencyAtRow(kPanelRows), 0.0f);
    EXPECT_NEAR(s.frequencyAtRow(0), 22050.0f, 0.02f);
    EXPECT_EQ(s.frequencyAtRow(-5), s.frequencyAtRow(0));
    EXPECT_EQ(s.frequencyAtRow(kPanelRows + 5), s.frequencyAtRow(kPanelRows));
    EXPECT_EQ(s.binOfRow(kPanelRows), 0);
    EXPECT_EQ(s.binOfRow(0), s.halfLength() - 1);  // the Nyquist bin is never used
    EXPECT_EQ(s.binOfRow(-100), s.halfLength() - 1);
}

TEST_F(StoreMappings, RowOfFrequencyInvertsFrequencyAtRow) {
    for (int row = 0; row <= kPanelRows; ++row) ASSERT_EQ(s.rowOfFrequency(s.frequencyAtRow(row)), row);
    s.setFrequencyRange(1000.0f, 3000.0f);
    for (int row = 0; row <= kPanelRows; ++row) ASSERT_EQ(s.rowOfFrequency(s.frequencyAtRow(row)), row);
}

TEST_F(StoreMappings, ValueOneLiesHalfwayUpAtTheReference) {
    EXPECT_FLOAT_EQ(s.valueOfFrequency(s.referenceFrequency()), 1.0f);
    const int row = s.rowOfValue(1.0f);
    EXPECT_NEAR(row, kPanelRows / 2.0, 1.0);
    EXPECT_NEAR(s.frequencyAtRow(row), 11025.0f, s.binWidth() * s.binsPerRow());
    EXPECT_EQ(s.rowOfFrequencyProduct(2.0f, 5512.5f), row);
    // Faster speed draws higher (smaller row).
    EXPECT_LT(s.rowOfValue(1.05f), row);
    const ValueRowMap& map = s;
    EXPECT_EQ(map.rowOfValue(1.0f), row);
}

TEST_F(StoreMappings, ValueOfFrequencyWithoutReferenceIsZero) {
    s.setReferenceFrequency(0.0f);
    EXPECT_EQ(s.valueOfFrequency(1000.0f), 0.0f);
}

TEST_F(StoreMappings, ExtremeValuesStayInsideIntRange) {
    const int high = s.rowOfValue(1e30f);
    const int low = s.rowOfValue(-1e30f);
    EXPECT_LT(high, 0);
    EXPECT_GT(low, kPanelRows);
    EXPECT_EQ(s.rowOfValue(std::nanf("")), kPanelRows);
}

TEST_F(StoreMappings, ColumnSpanIsClippedToThePanel) {
    EXPECT_EQ(s.columnSpan(10, 20), 10);
    EXPECT_EQ(s.columnSpan(-5, 20), 20);
    EXPECT_EQ(s.columnSpan(600, 10000), kPanelColumns - 1 - 600);
    EXPECT_EQ(s.columnSpan(20, 10), 0);
}

TEST_F(StoreMappings, FrequencyRangeShowsTheNearestBins) {
    s.setFrequencyRange(3000.0f, 1000.0f);  // either order
    const float bw = s.binWidth();
    EXPECT_NEAR(s.bottomFrequency(), 1000.0f, bw / 2);
    EXPECT_NEAR(s.topFrequency(), 3000.0f, bw);
    EXPECT_NEAR(s.referenceFrequency(), 2000.0f, bw);
    EXPECT_NEAR(s.frequencyZoom(), 22050.0f / 2000.0f, 0.3f);
}

// --- Faults of the frequency view ------------------------------------------------

TEST_F(StoreMappings, NarrowViewSurvivesAResolutionDrop) {
    // View 100-300 Hz at N = 4096, then the acquisition changes the resolution
    // to 64 and restores the band: at 64 points the band is less than one bin.
    s.setFftLength(4096);
    s.setFrequencyRange(100.0f, 300.0f);
    const float bottom = s.bottomFrequency();
    const float top = s.topFrequency();
    s.reset();
    s.setFftLength(64);
    s.setWindowType(2);
    s.setFrequencyRange(bottom, top);
    EXPECT_EQ(s.firstBin(), 0.0f);
    EXPECT_GE(s.lastBin(), s.firstBin() + 1.0f);
    EXPECT_LE(s.lastBin(), static_cast<float>(s.halfLength()));
    EXPECT_GT(s.binsPerRow(), 0.0f);
    EXPECT_TRUE(std::isfinite(s.frequencyZoom()));
    EXPECT_GT(s.topFrequency(), s.bottomFrequency());
    const int row = s.rowOfValue(1.0f);
    EXPECT_GE(row, 0);
    EXPECT_LE(row, kPanelRows);
}

TEST_F(StoreMappings, ZoomInBelowZeroHertzIsClamped) {
    // The editor's frequency "+" centres a half span on the view; at the bottom
    // of the spectrum the lower limit goes negative.
    s.setFftLength(64);
    s.setFrequencyRange(100.0f, 300.0f);
    s.setFrequencyRange(-520.0f, 920.0f);
    EXPECT_GE(s.firstBin(), 0.0f);
    EXPECT_GE(s.bottomFrequency(), 0.0f);
    EXPECT_GE(s.binOfRow(kPanelRows), 0);
    // The reference is the middle of the band actually shown.
    EXPECT_NEAR(s.referenceFrequency(), (s.topFrequency() - s.bottomFrequency()) / 2, s.binWidth());
    // Reading every pixel of a computed column stays inside the arrays (ASan).
    ASSERT_TRUE(s.layoutColumns(0, 20000, 20000));
    feedAll(s, 20000, [](int i) { return static_cast<float>(std::sin(0.01 * i)); });
    for (int row = 0; row < kPanelRows; ++row) {
        ASSERT_GE(s.levelLinear(10, row), 0.0f);
        ASSERT_GE(s.levelLog(10, row), 0.0f);
    }
}

TEST_F(StoreMappings, BandsBeyondTheLimitsAreClamped) {
    s.setFrequencyRange(30000.0f, 40000.0f);
    EXPECT_LE(s.lastBin(), static_cast<float>(s.halfLength()));
    EXPECT_LT(s.firstBin(), s.lastBin());
    EXPECT_LE(s.topFrequency(), s.maxFrequency() + 0.01f);
    s.setFrequencyRange(-500.0f, -100.0f);
    EXPECT_EQ(s.firstBin(), 0.0f);
    EXPECT_EQ(s.lastBin(), 1.0f);
    s.setFrequencyRange(std::nanf(""), 1000.0f);
    EXPECT_EQ(s.lastBin(), static_cast<float>(s.halfLength()));
}

TEST_F(StoreMappings, SmallTransformsStillHaveBinsPerRow) {
    // 32 bins over 259 rows: a whole-number division would give zero.
    s.setFftLength(64);
    s.resetFrequencyZoom();
    EXPECT_FLOAT_EQ(s.binsPerRow(), 32.0f / kPanelRows);
    EXPECT_GT(s.rowOfValue(0.5f), s.rowOfValue(1.0f));
}

TEST_F(StoreMappings, LengthChangeKeepsTheBandInHertz) {
    s.setFrequencyRange(2000.0f, 6000.0f);
    const float bottom = s.bottomFrequency(), top = s.topFrequency();
    s.setFftLength(4096);
    EXPECT_NEAR(s.bottomFrequency(), bottom, s.binWidth());
    EXPECT_NEAR(s.topFrequency(), top, s.binWidth());
    EXPECT_LT(s.lastBin(), 4096.0f / 2 + 1);
}

// --- Layout and feed ---------------------------------------------------------------

TEST(SpectrogramStoreLayout, BlocksAreCentredAndClippedAtBothEnds) {
    SpectrogramStore s;
    s.setColumnCount(400);
    s.setRowCount(kPanelRows);
    ASSERT_TRUE(s.layoutColumns(0, 441000, 441000));
    EXPECT_TRUE(s.columnsAllocated());
    EXPECT_EQ(s.blockStart(0), 0);
    EXPECT_EQ(s.blockEnd(0), 512);
    EXPECT_EQ(s.fill(0), 512);
    EXPECT_EQ(s.need(0), 1024);
    EXPECT_EQ(s.blockEnd(399), 441000);
    EXPECT_NEAR(s.need(399), 512, 1);
    EXPECT_EQ(s.fill(399), 0);
    EXPECT_EQ(s.blockEnd(200) - s.blockStart(200), 1024);
    EXPECT_FLOAT_EQ(s.layoutSpan(), 441000.0f);
}

TEST(SpectrogramStoreLayout, SampleAtColumnIsTheColumnsOwnTime) {
    SpectrogramStore s;
    s.setColumnCount(400);
    ASSERT_TRUE(s.layoutColumns(0, 441000, 441000));
    const double hop = 441000.0 / 399;
    EXPECT_EQ(s.sampleAtColumn(0), 0);
    EXPECT_EQ(s.sampleAtColumn(399), 441000);
    EXPECT_EQ(s.sampleAtColumn(200), static_cast<int>(std::floor(200 * hop + 0.5)));
    EXPECT_EQ(s.sampleAtColumn(-3), 0);
    EXPECT_EQ(s.sampleAtColumn(1000), 441000);
    // The middle of the clipped analysis block is a different thing.
    EXPECT_EQ(s.blockMiddleAtColumn(0), 256);
    EXPECT_EQ(s.blockMiddleAtColumn(-1), 1);
    EXPECT_EQ(s.blockMiddleAtColumn(400), 441000 - 2);

    ASSERT_TRUE(s.layoutColumns(1000, 5000, 10000));
    EXPECT_EQ(s.sampleAtColumn(0), 1000);
    EXPECT_EQ(s.sampleAtColumn(399), 5000);
}

TEST(SpectrogramStoreLayout, DegenerateLayoutsAreRefused) {
    SpectrogramStore s;
    s.setColumnCount(1);
    EXPECT_FALSE(s.layoutColumns(0, 1000, 1000));
    s.setColumnCount(10);
    EXPECT_FALSE(s.layoutColumns(500, 500, 1000));
    EXPECT_FALSE(s.layoutColumns(0, 1000, 0));
    EXPECT_FALSE(s.layoutColumns(2000, 3000, 1000));  // entirely past the selection
    // Nothing is computed from a refused layout.
    for (int i = 0; i < 2000; ++i) ASSERT_FALSE(s.feedSample(1.0f));
    EXPECT_EQ(s.sampleAtColumn(3), 0);
    // An end past the selection is cut to it.
    ASSERT_TRUE(s.layoutColumns(0, 5000, 1000));
    EXPECT_EQ(s.blockEnd(9), 1000);
}

TEST(SpectrogramStoreLayout, LayoutDoesNotDependOnTheRunLength) {
    // A two-hour run lays out in the same column memory as a short one.
    SpectrogramStore s;
    s.setColumnCount(kPanelColumns);
    const int length = 2 * 3600 * 44100;
    ASSERT_TRUE(s.layoutColumns(0, length, length));
    EXPECT_EQ(s.sampleAtColumn(kPanelColumns - 1), length);
    EXPECT_EQ(s.blockEnd(kPanelColumns - 1), length);
}

TEST(SpectrogramStoreFeed, ColumnsCompleteInOrderAtTheEndOfTheirBlocks) {
    SpectrogramStore s;
    s.setFftLength(16);
    s.setColumnCount(7);
    s.setRowCount(8);
    const int length = 60;
    ASSERT_TRUE(s.layoutColumns(0, length, length));
    std::vector<int> completedAt;
    for (int i = 0; i < length; ++i) {
        while (s.feedSample(0.5f)) {
            EXPECT_EQ(s.lastColumn(), static_cast<int>(completedAt.size()));
            EXPECT_EQ(s.nextSample(), s.blockEnd(s.lastColumn()) - 1);
            completedAt.push_back(i);
        }
    }
    ASSERT_EQ(completedAt.size(), 7u);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(s.fill(c), s.need(c));
        EXPECT_TRUE(s.columnComputed(c));
    }
    EXPECT_EQ(s.nextSample(), length);
}

TEST(SpectrogramStoreFeed, EachColumnIsTheSpectrumOfItsWindowedBlock) {
    SpectrogramStore s;
    s.setFftLength(64);
    s.setColumnCount(9);
    s.setRowCount(16);
    s.setWindowType(kHannWindow);
    const int length = 300;
    std::vector<float> signal(length);
    for (int i = 0; i < length; ++i) signal[i] = static_cast<float>(std::sin(0.3 * i) + 0.1 * std::cos(0.05 * i * i));
    ASSERT_TRUE(s.layoutColumns(0, length, length));
    const std::vector<int> order = feedAll(s, length, [&](int i) { return signal[i]; });
    ASSERT_EQ(order.size(), 9u);

    HartleyTransform t;
    for (int c = 0; c < 9; ++c) {
        const int start = s.blockStart(c), end = s.blockEnd(c), size = end - start;
        const int pad = (size < 64 && start == 0) ? 64 - size : 0;
        std::vector<float> block(64, 0.0f);
        for (int j = 0; j < size; ++j) block[pad + j] = signal[start + j] * s.window()[pad + j];
        ASSERT_TRUE(t.realFft(64, block.data()));
        const float* power = s.columnPower(c);
        ASSERT_NE(power, nullptr);
        EXPECT_EQ(s.columnPower()[c], power);
        for (int i = 0; i < 32; ++i) {
            const float im = i == 0 ? 0.0f : block[64 - i];
            ASSERT_FLOAT_EQ(power[i], block[i] * block[i] + im * im) << "column " << c << " bin " << i;
        }
    }
}

TEST(SpectrogramStoreFeed, ColumnsDenserThanSamplesAllComplete) {
    SpectrogramStore s;
    s.setFftLength(16);
    s.setColumnCount(12);
    ASSERT_TRUE(s.layoutColumns(0, 5, 5));
    const std::vector<int> order = feedAll(s, 5, [](int) { return 1.0f; });
    ASSERT_EQ(order.size(), 12u);
    for (int c = 0; c < 12; ++c) EXPECT_EQ(order[c], c);
}

TEST(SpectrogramStoreFeed, LengthChangeReallocatesColumnsAndWindow) {
    // The acquisition resets to 1024 and then applies the editor's 4096: the
    // columns and the window must follow, or every column overflows (ASan).
    SpectrogramStore s;
    applyEditorDefaults(s);
    s.setFftLength(4096);
    EXPECT_TRUE(s.columnsAllocated());
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(s.window()[i], windowCoefficient(kBlackmanWindow, i, 4096));
    const int length = 100000;
    ASSERT_TRUE(s.layoutColumns(0, length, length));
    EXPECT_EQ(s.blockEnd(kPanelColumns / 2) - s.blockStart(kPanelColumns / 2), 4096);
    const std::vector<int> order = feedAll(s, length, [](int i) { return static_cast<float>(std::sin(0.2 * i)); });
    EXPECT_EQ(static_cast<int>(order.size()), kPanelColumns);
}

TEST(SpectrogramStoreFeed, ColumnCountChangeReallocates) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    s.setColumnCount(1000);
    ASSERT_TRUE(s.layoutColumns(0, 50000, 50000));
    const std::vector<int> order = feedAll(s, 50000, [](int) { return 0.1f; });
    EXPECT_EQ(order.size(), 1000u);
}

TEST(SpectrogramStoreFeed, ResetForgetsTheLayout) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    ASSERT_TRUE(s.layoutColumns(0, 10000, 10000));
    s.reset();
    EXPECT_FALSE(s.columnsAllocated());
    for (int i = 0; i < 3000; ++i) ASSERT_FALSE(s.feedSample(1.0f));
    EXPECT_EQ(s.columnPower(0), nullptr);
    // A new layout allocates again.
    EXPECT_TRUE(s.layoutColumns(0, 10000, 10000));
    EXPECT_TRUE(s.columnsAllocated());
}

// --- Levels ------------------------------------------------------------------------

TEST(SpectrogramStoreLevels, DisplayLevelMapsTheDbWindow) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    EXPECT_EQ(s.displayLevel(0.0f), 0.0f);
    EXPECT_EQ(s.displayLevel(12.0f), 0.0f);
    EXPECT_FLOAT_EQ(s.displayLevel(58.5f), 50.0f);
    EXPECT_EQ(s.displayLevel(105.0f), 100.0f);
    EXPECT_EQ(s.displayLevel(500.0f), 100.0f);
}

TEST(SpectrogramStoreLevels, SilenceReadsZeroEverywhere) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    ASSERT_TRUE(s.layoutColumns(0, 20000, 20000));
    feedAll(s, 20000, [](int) { return 0.0f; });
    for (int c = 0; c < kPanelColumns; c += 37)
        for (int row = 0; row < kPanelRows; ++row) {
            ASSERT_EQ(s.levelLinear(c, row), 0.0f);
            ASSERT_EQ(s.levelLog(c, row), 0.0f);
        }
}

TEST(SpectrogramStoreLevels, DcIsStoredInDbLikeEveryOtherBin) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    ASSERT_TRUE(s.layoutColumns(0, 20000, 20000));
    feedAll(s, 20000, [](int) { return 0.5f; });
    double windowSum = 0.0;
    for (int i = 0; i < 1024; ++i) windowSum += s.window()[i];
    const float* levels = s.columnLevels(300);
    ASSERT_NE(levels, nullptr);
    const double expected = 20.0 * std::log10(0.5 * windowSum / s.floorAmplitude());
    EXPECT_NEAR(levels[0], expected, 0.01);
    EXPECT_LE(levels[0], s.dbRange());
    // Nothing past the bins in use holds raw transform output.
    for (int i = s.halfLength(); i < s.fftLength(); ++i) ASSERT_EQ(levels[i], 0.0f);
}

TEST(SpectrogramStoreLevels, OutsideThePanelOrNotComputedReadsZero) {
    SpectrogramStore s;
    applyEditorDefaults(s);
    ASSERT_TRUE(s.layoutColumns(0, 20000, 20000));
    const std::vector<int> order = feedAll(s, 10000, [](int) { return 0.9f; });  // only the first half
    ASSERT_FALSE(order.empty());
    const int computed = order.back();
    EXPECT_GT(s.levelLinear(0, kPanelRows - 1), 0.0f);
    EXPECT_EQ(s.levelLinear(computed + 1, kPanelRows - 1), 0.0f);
    EXPECT_EQ(s.levelLinear(-1, 10), 0.0f);
    EXPECT_EQ(s.levelLinear(kPanelColumns, 10), 0.0f);
    EXPECT_EQ(s.levelLinear(0, kPanelRows), 0.0f);
    EXPECT_EQ(s.levelLog(0, -1), 0.0f);
}

class SteadySine : public ::testing::TestWithParam<int> {};

int loudestRow(const SpectrogramStore& s, int col, bool logScale) {
    int best = -1;
    float bestLevel = -1.0f;
    for (int row = 0; row < s.rows(); ++row) {
        const float level = logScale ? s.levelLog(col, row) : s.levelLinear(col, row);
        if (level > bestLevel) {
            bestLevel = level;
            best = row;
        }
    }
    return best;
}

TEST_P(SteadySine, ShowsItsMaximumAtTheRowOfItsFrequency) {
    const int n = GetParam();
    SpectrogramStore s;
    applyEditorDefaults(s);
    s.setSampleRate(44100.0f);
    s.setFftLength(n);
    s.resetFrequencyZoom();
    const double f = 3000.0;
    const int length = 44100;
    ASSERT_TRUE(s.layoutColumns(0, length, length));
    feedAll(s, length, [&](int i) { return static_cast<float>(0.5 * std::sin(2.0 * kPi * f * i / 44100.0)); });
    const int expected = s.rowOfFrequency(static_cast<float>(f));
    for (int col : {kPanelColumns / 4, kPanelColumns / 2, 3 * kPanelColumns / 4})
        EXPECT_NEAR(loudestRow(s, col, false), expected, 1) << "column " << col;

    // Zoomed in so that one bin spans several rows.
    s.setFrequencyRange(2000.0f, 4000.0f);
    EXPECT_NEAR(loudestRow(s, kPanelColumns / 2, false), s.rowOfFrequency(static_cast<float>(f)),
                1.0 + 1.0 / s.binsPerRow());

    // On the logarithmic scale the loudest row's band contains the tone.
    s.resetFrequencyZoom();
    const int logRow = loudestRow(s, kPanelColumns / 2, true);
    const double octaves = std::log2(s.topFrequency() - 1.0);
    const double lowEdge = std::pow(2.0, (kPanelRows - logRow) * octaves / kPanelRows) + 1.0;
    const double highEdge = std::pow(2.0, (kPanelRows - logRow + 1) * octaves / kPanelRows) + 1.0;
    EXPECT_LE(lowEdge, f + 2 * s.binWidth());
    EXPECT_GE(highEdge, f - 2 * s.binWidth());
}

INSTANTIATE_TEST_SUITE_P(SpectrogramStore, SteadySine, ::testing::Values(256, 1024, 4096));

}  // namespace
}  // namespace wowfix
