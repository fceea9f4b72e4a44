#include "detectors/CentroidTracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace wowfix {
namespace {

constexpr int kBins = 512;

// Power columns as the store keeps them: columns[c][bin], with a table of
// pointers. Each holds narrow lines (Gaussian, sigma 0.8 bins) at the bins
// `lineAt(c)` answers (negative: none).
struct Columns {
    Columns(int count, const std::function<std::vector<double>(int)>& linesAt)
        : data(static_cast<size_t>(count), std::vector<float>(kBins, 0.0f)) {
        for (int c = 0; c < count; ++c) {
            for (double at : linesAt(c))
                for (int k = 0; k < kBins; ++k)
                    data[static_cast<size_t>(c)][static_cast<size_t>(k)] +=
                        static_cast<float>(std::exp(-0.5 * std::pow((k - at) / 0.8, 2.0)));
            pointers.push_back(data[static_cast<size_t>(c)].data());
        }
    }
    int track(int start, int count, int bin, float scale, std::vector<float>& out, int level) const {
        return trackCentroid(pointers.data(), static_cast<int>(data.size()), kBins, start, count, bin, scale,
                             out.data(), level);
    }
    std::vector<std::vector<float>> data;
    std::vector<const float*> pointers;
};

TEST(ColumnCentroid, SingleBinsKnownPowersAndSpread) {
    std::vector<float> column(kBins, 0.0f);
    column[50] = 3.0f;
    EXPECT_NEAR(columnCentroid(column.data(), kBins, 40, 60).value_or(-1.0f), 50.0f, 1e-3f);
    EXPECT_NEAR(columnCentroid(column.data(), kBins, 60, 40).value_or(-1.0f), 50.0f, 1e-3f) << "either order";
    // 50 * 52 = 40 * 65: both bins lie equally far from the window's
    // geometric centre and weigh the same, so the answer is the power-weighted
    // geometric mean of the two bin numbers.
    column[50] = 1.0f;
    column[52] = 3.0f;
    EXPECT_NEAR(columnCentroid(column.data(), kBins, 40, 65).value_or(-1.0f),
                static_cast<float>(std::pow(50.0, 0.25) * std::pow(52.0, 0.75)), 2e-3f);
    // The spread pairs position k with bin k + 1.
    std::fill(column.begin(), column.end(), 0.0f);
    column[51] = 2.0f;
    EXPECT_NEAR(centroidSpread(column.data(), kBins, 50.0f, 40, 60).value_or(-1.0f), 0.0f, 1e-4f);
    EXPECT_NEAR(centroidSpread(column.data(), kBins, 48.0f, 40, 60).value_or(-1.0f), 4.0f, 1e-3f);
}

TEST(ColumnCentroid, NoPowerOrNoWindowIsNone) {
    std::vector<float> column(kBins, 0.0f);
    EXPECT_FALSE(columnCentroid(column.data(), kBins, 40, 60)) << "silence";
    EXPECT_FALSE(centroidSpread(column.data(), kBins, 50.0f, 40, 60)) << "silence";
    column[0] = column[1] = 5.0f;
    EXPECT_FALSE(columnCentroid(column.data(), kBins, -4, 1)) << "bins 0 and 1 never count";
    EXPECT_FALSE(columnCentroid(column.data(), kBins, 0, 2)) << "one bin without power";
    column[2] = 1.0f;
    EXPECT_EQ(columnCentroid(column.data(), kBins, 0, 2).value_or(-1.0f), 2.0f) << "one bin with power";
    column[kBins - 1] = 1.0f;
    EXPECT_FALSE(columnCentroid(column.data(), kBins, kBins + 5, kBins + 40)) << "above the column";
    EXPECT_NEAR(columnCentroid(column.data(), kBins, kBins - 10, kBins + 10).value_or(-1.0f), kBins - 1.0f, 1e-2f);
    EXPECT_FALSE(centroidSpread(column.data(), kBins, NAN, 40, 60));
    EXPECT_FALSE(columnCentroid(nullptr, kBins, 10, 20));
}

TEST(TrackCentroid, SteadyAndMovingLinesFollowedBothWays) {
    const Columns steady(40, [](int) { return std::vector<double>{120.3}; });
    std::vector<float> out(30, -7.0f);
    ASSERT_EQ(steady.track(5, 30, 120, 1.25f, out, 10), 30);
    for (float v : out) EXPECT_NEAR(v, 1.25f, 1e-5f);

    // One whole bin per column from bin 100.5: the line keeps its place in
    // the following window, so the ratios are those of the bin positions.
    const Columns moving(20, [](int c) { return std::vector<double>{100.5 + c}; });
    std::vector<float> right(20, -1.0f);
    ASSERT_EQ(moving.track(0, 20, 100, 1.0f, right, 12), 20);
    for (int c = 0; c < 20; ++c) EXPECT_NEAR(right[static_cast<size_t>(c)], (100.5 + c) / 100.5, 2e-4) << c;
    // Leftwards, out stays in ascending column order, the press column last.
    std::vector<float> left(20, -1.0f);
    ASSERT_EQ(moving.track(19, -20, 119, 2.0f, left, 12), -20);
    for (int c = 0; c < 20; ++c) EXPECT_NEAR(left[static_cast<size_t>(c)], 2.0 * (100.5 + c) / 119.5, 4e-4) << c;

    // Rising by 1 % across the drag: about 1.01 times the scale at the end.
    const Columns rising(31, [](int c) { return std::vector<double>{300.0 + 0.1 * c}; });
    std::vector<float> r(31, -1.0f);
    ASSERT_EQ(rising.track(0, 31, 300, 0.5f, r, 10), 31);
    EXPECT_FLOAT_EQ(r[0], 0.5f);
    EXPECT_NEAR(r[30], 0.505f, 0.0005f);
}

TEST(TrackCentroid, ToleranceLevelDecidesWhereTheLineIsLost) {
    // Ten clean columns, then the line smeared by a second one 9 bins above.
    const Columns columns(20, [](int c) { return c < 10 ? std::vector<double>{150.0} : std::vector<double>{150.0, 159.0}; });
    std::vector<float> out(20, 0.0f);
    EXPECT_EQ(columns.track(0, 20, 150, 1.0f, out, 10), 10);
    EXPECT_EQ(columns.track(0, 20, 150, 1.0f, out, 20), 20);
    EXPECT_EQ(columns.track(0, 20, 150, 1.0f, out, 3), 10) << "levels outside 10 ... 20 act as the nearest end";
}

TEST(TrackCentroid, RefusalsAndSilenceLeaveTheOutputAlone) {
    const Columns columns(12, [](int c) { return c == 7 ? std::vector<double>{} : std::vector<double>{80.0}; });
    std::vector<float> out(12, -3.0f);
    for (int count : {-1, 0, 1}) EXPECT_EQ(columns.track(4, count, 80, 1.0f, out, 10), 0);
    EXPECT_EQ(columns.track(4, 5, 80, 0.0f, out, 10), 0) << "scale 0";
    EXPECT_EQ(columns.track(4, 5, 80, NAN, out, 10), 0) << "scale NaN";
    for (float v : out) EXPECT_EQ(v, -3.0f);
    // The silent column 7 stops the following there.
    EXPECT_EQ(columns.track(0, 12, 80, 1.0f, out, 10), 7);
    EXPECT_EQ(out[7], -3.0f);
    const Columns silent(5, [](int) { return std::vector<double>{}; });
    EXPECT_EQ(silent.track(0, 5, 200, 1.0f, out, 10), 0);
    for (float v : out) EXPECT_FALSE(std::isnan(v));
}

TEST(TrackCentroid, ClippedToTheColumnsAndBins) {
    const Columns columns(8, [](int) { return std::vector<double>{3.0}; });
    std::vector<float> out(50, -3.0f);
    // More columns asked for than exist on either side of the start.
    EXPECT_EQ(columns.track(5, 50, 3, 1.0f, out, 10), 3);
    EXPECT_EQ(columns.track(2, -50, 3, 1.0f, out, 10), -3);
    EXPECT_FLOAT_EQ(out[49], 1.0f) << "the start column is the last of the caller's entries";
    // A start past the last column begins at the last; start bins 0 and 1
    // still search from bin 2; a press above the spectrum searches its top.
    EXPECT_EQ(columns.track(669, -4, 0, 1.0f, out, 10), -4);
    EXPECT_EQ(columns.track(0, 4, 1, 1.0f, out, 10), 4);
    EXPECT_EQ(columns.track(0, 4, 551, 1.0f, out, 10), 0);
    const Columns top(4, [](int) { return std::vector<double>{kBins - 1.5}; });
    EXPECT_EQ(top.track(0, 4, 551, 1.0f, out, 10), 4);
}

}  // namespace
}  // namespace wowfix
