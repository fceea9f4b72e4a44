#include "detectors/CentroidTracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace wowfix {
namespace {

constexpr int kBins = 512;

// Power columns as the store keeps them, with pointers to each.
struct Columns {
    explicit Columns(int count) : data(static_cast<size_t>(count), std::vector<float>(kBins, 0.0f)) {}
    const float* const* table() {
        pointers.clear();
        for (auto& column : data) pointers.push_back(column.data());
        return pointers.data();
    }
    int count() const { return static_cast<int>(data.size()); }
    std::vector<std::vector<float>> data;
    std::vector<const float*> pointers;
};

// A narrow line (Gaussian, sigma 0.8 bins) centred on the fractional bin `at`.
void addLine(std::vector<float>& column, double at, double power = 1.0) {
    for (int k = 0; k < kBins; ++k) {
        const double d = (k - at) / 0.8;
        column[static_cast<size_t>(k)] += static_cast<float>(power * std::exp(-0.5 * d * d));
    }
}

TEST(ColumnCentroid, SingleBinsAndKnownPowers) {
    std::vector<float> column(kBins, 0.0f);
    column[50] = 3.0f;
    ASSERT_TRUE(columnCentroid(column.data(), kBins, 40, 60).has_value());
    EXPECT_NEAR(*columnCentroid(column.data(), kBins, 40, 60), 50.0f, 1e-3f);
    EXPECT_NEAR(*columnCentroid(column.data(), kBins, 60, 40), 50.0f, 1e-3f) << "bounds in either order";

    // 50 * 52 = 40 * 65: both bins lie equally far from the window's
    // geometric centre and weigh the same, so the answer is the power-weighted
    // geometric mean of the two bin numbers.
    column[50] = 1.0f;
    column[52] = 3.0f;
    const float expected = static_cast<float>(std::pow(50.0, 0.25) * std::pow(52.0, 0.75));
    EXPECT_NEAR(*columnCentroid(column.data(), kBins, 40, 65), expected, 2e-3f);
}

TEST(ColumnCentroid, NoPowerOrNoWindowIsNone) {
    std::vector<float> column(kBins, 0.0f);
    EXPECT_FALSE(columnCentroid(column.data(), kBins, 40, 60)) << "silence";
    column[1] = 5.0f;
    column[0] = 5.0f;
    EXPECT_FALSE(columnCentroid(column.data(), kBins, -4, 1)) << "bins 0 and 1 never count";
    column[kBins - 1] = 1.0f;
    EXPECT_FALSE(columnCentroid(column.data(), kBins, kBins + 5, kBins + 40)) << "above the column";
    // A window reaching past the top sees zero power there.
    const auto top = columnCentroid(column.data(), kBins, kBins - 10, kBins + 10);
    ASSERT_TRUE(top.has_value());
    EXPECT_NEAR(*top, kBins - 1.0f, 1e-2f);
    // A window collapsed to one bin answers that bin, or none without power.
    EXPECT_FALSE(columnCentroid(column.data(), kBins, 0, 2));
    column[2] = 1.0f;
    EXPECT_EQ(columnCentroid(column.data(), kBins, 0, 2).value_or(-1.0f), 2.0f);
    EXPECT_FALSE(columnCentroid(nullptr, kBins, 10, 20));
}

TEST(CentroidSpread, SecondMomentOfTheNextBinUp) {
    std::vector<float> column(kBins, 0.0f);
    column[51] = 2.0f;  // seen at position 50
    EXPECT_NEAR(*centroidSpread(column.data(), kBins, 50.0f, 40, 60), 0.0f, 1e-4f);
    EXPECT_NEAR(*centroidSpread(column.data(), kBins, 48.0f, 40, 60), 4.0f, 1e-3f);
    EXPECT_FALSE(centroidSpread(column.data(), kBins, 50.0f, 100, 120)) << "no power in the window";
    EXPECT_FALSE(centroidSpread(column.data(), kBins, NAN, 40, 60));
    EXPECT_FALSE(centroidSpread(column.data(), kBins, 50.0f, kBins - 1, kBins + 20)) << "nothing above the top";
}

TEST(TrackCentroid, SteadyLineGivesTheScaleEverywhere) {
    Columns columns(40);
    for (auto& column : columns.data) addLine(column, 120.3);
    std::vector<float> out(30, -7.0f);
    ASSERT_EQ(trackCentroid(columns.table(), columns.count(), kBins, 5, 30, 120, 1.25f, out.data(), 10), 30);
    for (float v : out) EXPECT_NEAR(v, 1.25f, 1e-5f);
}

TEST(TrackCentroid, MovingLineFollowedBothWays) {
    // One whole bin per column from bin 100.5: the line keeps its place in
    // the following window, so the ratios are those of the bin positions.
    Columns columns(20);
    for (int c = 0; c < columns.count(); ++c) addLine(columns.data[static_cast<size_t>(c)], 100.5 + c);
    std::vector<float> right(20, -1.0f);
    ASSERT_EQ(trackCentroid(columns.table(), 20, kBins, 0, 20, 100, 1.0f, right.data(), 12), 20);
    for (int c = 0; c < 20; ++c) EXPECT_NEAR(right[static_cast<size_t>(c)], (100.5 + c) / 100.5, 2e-4) << c;

    // From the last column leftwards, out stays in ascending column order and
    // the press column (the last entry) holds the scale.
    std::vector<float> left(20, -1.0f);
    ASSERT_EQ(trackCentroid(columns.table(), 20, kBins, 19, -20, 119, 2.0f, left.data(), 12), -20);
    for (int c = 0; c < 20; ++c)
        EXPECT_NEAR(left[static_cast<size_t>(c)], 2.0 * (100.5 + c) / 119.5, 4e-4) << c;
}

TEST(TrackCentroid, LineRisingByOnePercent) {
    // From bin 300 to 303 over 31 columns: about 1.01 times the scale at the end.
    Columns columns(31);
    for (int c = 0; c < 31; ++c) addLine(columns.data[static_cast<size_t>(c)], 300.0 + 0.1 * c, 1.0);
    std::vector<float> out(31, -1.0f);
    ASSERT_EQ(trackCentroid(columns.table(), 31, kBins, 0, 31, 300, 0.5f, out.data(), 10), 31);
    EXPECT_FLOAT_EQ(out[0], 0.5f);
    EXPECT_NEAR(out[30], 0.505f, 0.0005f);
    for (int c = 1; c < 31; ++c) EXPECT_GE(out[static_cast<size_t>(c)], out[static_cast<size_t>(c) - 1] - 1e-4f);
}

TEST(TrackCentroid, ToleranceLevelDecidesWhereTheLineIsLost) {
    // Ten clean columns, then a line smeared by a second one 9 bins above.
    Columns columns(20);
    for (int c = 0; c < 20; ++c) {
        addLine(columns.data[static_cast<size_t>(c)], 150.0);
        if (c >= 10) addLine(columns.data[static_cast<size_t>(c)], 159.0);
    }
    std::vector<float> out(20, 0.0f);
    EXPECT_EQ(trackCentroid(columns.table(), 20, kBins, 0, 20, 150, 1.0f, out.data(), 10), 10);
    EXPECT_EQ(trackCentroid(columns.table(), 20, kBins, 0, 20, 150, 1.0f, out.data(), 20), 20);
    // Levels outside 10 ... 20 act as the nearest end.
    EXPECT_EQ(trackCentroid(columns.table(), 20, kBins, 0, 20, 150, 1.0f, out.data(), 3), 10);
}

TEST(TrackCentroid, RefusesWithoutTouchingTheOutput) {
    Columns columns(10);
    for (auto& column : columns.data) addLine(column, 80.0);
    std::vector<float> out(10, -3.0f);
    for (int count : {-1, 0, 1})
        EXPECT_EQ(trackCentroid(columns.table(), 10, kBins, 4, count, 80, 1.0f, out.data(), 10), 0);
    EXPECT_EQ(trackCentroid(columns.table(), 10, kBins, 4, 5, 80, 0.0f, out.data(), 10), 0) << "scale 0";
    EXPECT_EQ(trackCentroid(columns.table(), 10, kBins, 4, 5, 80, NAN, out.data(), 10), 0) << "scale NaN";
    for (float v : out) EXPECT_EQ(v, -3.0f);
}

TEST(TrackCentroid, SilenceStopsTheFollowing) {
    Columns columns(12);
    for (int c = 0; c < 12; ++c)
        if (c != 7) addLine(columns.data[static_cast<size_t>(c)], 200.0);
    std::vector<float> out(12, -3.0f);
    EXPECT_EQ(trackCentroid(columns.table(), 12, kBins, 0, 12, 200, 1.0f, out.data(), 10), 7);
    EXPECT_EQ(out[7], -3.0f);
    Columns silent(5);
    EXPECT_EQ(trackCentroid(silent.table(), 5, kBins, 0, 5, 200, 1.0f, out.data(), 10), 0);
    for (float v : out) EXPECT_FALSE(std::isnan(v));
}

TEST(TrackCentroid, ClippedToTheColumnsAndBins) {
    Columns columns(8);
    for (auto& column : columns.data) addLine(column, 3.0, 1.0);
    std::vector<float> out(50, -3.0f);
    // More columns asked for than exist on either side of the start.
    EXPECT_EQ(trackCentroid(columns.table(), 8, kBins, 5, 50, 3, 1.0f, out.data(), 10), 3);
    EXPECT_EQ(trackCentroid(columns.table(), 8, kBins, 2, -50, 3, 1.0f, out.data(), 10), -3);
    EXPECT_FLOAT_EQ(out[49], 1.0f) << "the start column is the last of the caller's entries";
    // A start past the last column begins at the last; start bins 0 and 1
    // still search from bin 2.
    EXPECT_EQ(trackCentroid(columns.table(), 8, kBins, 669, -4, 0, 1.0f, out.data(), 10), -4);
    EXPECT_EQ(trackCentroid(columns.table(), 8, kBins, 0, 4, 1, 1.0f, out.data(), 10), 4);
    // A press above the spectrum searches at its top, where nothing is.
    EXPECT_EQ(trackCentroid(columns.table(), 8, kBins, 0, 4, 551, 1.0f, out.data(), 10), 0);
    Columns top(4);
    for (auto& column : top.data) addLine(column, kBins - 1.5);
    EXPECT_EQ(trackCentroid(top.table(), 4, kBins, 0, 4, 551, 1.0f, out.data(), 10), 4);
}

}  // namespace
}  // namespace wowfix
