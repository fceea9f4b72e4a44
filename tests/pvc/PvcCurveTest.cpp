#include "pvc/PvcCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace wowfix {
namespace {

PvcCurve rampCurve()
{
    PvcCurve curve;
    curve.setLength(101);
    curve.appendPoint(0, 1.0f, false);
    curve.appendPoint(100, 1.1f, false);
    return curve;
}

TEST(PvcCurveQueries, FlatCurveAnswersOneInsideAndMinusOneOutside)
{
    PvcCurve curve;
    curve.initFlat(1000);
    ASSERT_EQ(curve.count(), 2);
    EXPECT_EQ(curve.length(), 1000);
    EXPECT_EQ(curve.positionAt(0), 0);
    EXPECT_EQ(curve.positionAt(1), 999);
    EXPECT_EQ(curve.valueAtPosition(500), 1.0f);
    EXPECT_EQ(curve.valueAtPosition(999), 1.0f);
    EXPECT_EQ(curve.valueAtPosition(1000), -1.0f);
    EXPECT_EQ(curve.valueAtPosition(-1), -1.0f);
}

TEST(PvcCurveQueries, IndexOutOfRangeAnswersNeutralValues)
{
    PvcCurve curve;
    curve.initFlat(10);
    EXPECT_EQ(curve.valueAt(curve.count()), 1.0f);
    EXPECT_EQ(curve.xAt(curve.count()), -1);
    EXPECT_EQ(curve.yAt(-1), -1);
    EXPECT_EQ(curve.positionAt(curve.count()), 0);
    EXPECT_EQ(curve.positionAt(-5), 0);
    EXPECT_FALSE(curve.setPoint(2, 3, 1.0f));
    EXPECT_FALSE(curve.setValue(-1, 1.0f));
    EXPECT_FALSE(curve.setPixel(2, 1, 1));
    EXPECT_EQ(curve.count(), 2);
}

TEST(PvcCurveQueries, InterpolatesLinearlyAndHitsPointsExactly)
{
    PvcCurve curve = rampCurve();
    EXPECT_NEAR(curve.valueAtPosition(50), 1.05f, 1e-6f);
    EXPECT_EQ(curve.valueAtPosition(100), 1.1f);
    EXPECT_EQ(curve.valueAtPosition(0), 1.0f);
}

TEST(PvcCurveQueries, BeforeTheFirstPointTheLineStartsFromZero)
{
    PvcCurve curve;
    curve.setLength(201);
    curve.appendPoint(100, 1.0f, false);
    curve.appendPoint(200, 1.0f, false);
    EXPECT_NEAR(curve.valueAtPosition(50), 0.5f, 1e-6f);
}

TEST(PvcCurveQueries, PastTheLastPointAnswersMinusOne)
{
    PvcCurve curve;
    curve.setLength(1000);
    curve.appendPoint(0, 1.0f, false);
    curve.appendPoint(500, 1.0f, false);
    EXPECT_EQ(curve.valueAtPosition(501), -1.0f);
}

TEST(PvcCurveQueries, DuplicateAndDescendingPositionsDoNotDivideByZero)
{
    PvcCurve curve;
    curve.setLength(400);
    curve.appendPoint(0, 1.0f, false);
    curve.appendPoint(100, 1.2f, false);
    curve.appendPoint(100, 0.8f, false);
    curve.appendPoint(50, 0.9f, false);
    curve.appendPoint(300, 1.0f, false);
    for (int p = 0; p < 400; ++p) {
        const float v = curve.valueAtPosition(p);
        EXPECT_TRUE(std::isfinite(v)) << p;
    }
    EXPECT_EQ(curve.valueAtPosition(100), 1.2f);
}

TEST(PvcCurveQueries, PointsSkippedAtPositionMinusOne)
{
    PvcCurve curve;
    curve.setLength(101);
    curve.appendPoint(-1, 5.0f, false);
    curve.appendPoint(0, 1.0f, false);
    curve.appendPoint(100, 1.0f, false);
    EXPECT_EQ(curve.valueAtPosition(0), 1.0f);
}

// Beyond 2^24 a float cannot tell neighbouring samples apart; positions must be
// differenced as integers.
TEST(PvcCurveQueries, NeighbouringPointsBeyondTwoToTheTwentyFourStayApart)
{
    const int base = (1 << 24) + 1;
    PvcCurve curve;
    curve.setLength(base + 10);
    curve.appendPoint(0, 1.0f, false);
    curve.appendPoint(base, 1.0f, false);
    curve.appendPoint(base + 1, 1.5f, false);
    curve.appendPoint(base + 3, 0.5f, false);
    curve.appendPoint(base + 9, 1.0f, false);
    EXPECT_EQ(curve.valueAtPosition(base + 1), 1.5f);
    EXPECT_EQ(curve.valueAtPosition(base + 2), 1.0f);
    EXPECT_EQ(curve.valueAtPosition(base + 3), 0.5f);
    curve.beginSequentialRead();
    for (int p = base; p < base + 10; ++p)
        EXPECT_EQ(curve.valueAtPositionSequential(p), curve.valueAtPosition(p)) << p;
}

TEST(PvcCurveQueries, LongCurveNearTheTopOfTheRange)
{
    const int last = std::numeric_limits<int>::max() - 1;
    PvcCurve curve;
    curve.initFlat(last + 1);
    curve.insertPoint(last - 2, 2.0f, false);
    ASSERT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.valueAtPosition(last - 2), 2.0f);
    EXPECT_EQ(curve.valueAtPosition(last - 1), 1.5f);
    EXPECT_EQ(curve.valueAtPosition(last), 1.0f);
    EXPECT_NEAR(curve.valueAtPosition((last - 2) / 2), 1.5f, 1e-6f);
}

TEST(PvcCurveSequential, EqualsRandomReaderOverAWobblyCurve)
{
    PvcCurve curve;
    curve.initFlat(20000);
    for (int p = 37; p < 19990; p += 97)
        curve.insertPoint(p, 1.0f + 0.01f * std::sin(p * 0.01f), false);
    curve.beginSequentialRead();
    for (int p = 0; p < 20000; ++p)
        ASSERT_EQ(curve.valueAtPositionSequential(p), curve.valueAtPosition(p)) << p;
    EXPECT_EQ(curve.valueAtPositionSequential(20000), -1.0f);
}

TEST(PvcCurveSequential, EqualsRandomReaderWhenPositionsRepeatOrSkip)
{
    PvcCurve curve;
    curve.setLength(1001);
    curve.appendPoint(100, 0.9f, false);
    curve.appendPoint(400, 1.2f, false);
    curve.appendPoint(400, 1.3f, false);
    curve.appendPoint(1000, 1.0f, false);
    curve.beginSequentialRead();
    for (int p = 0; p <= 1000; p += 7) {
        ASSERT_EQ(curve.valueAtPositionSequential(p), curve.valueAtPosition(p)) << p;
        ASSERT_EQ(curve.valueAtPositionSequential(p), curve.valueAtPosition(p)) << p;
    }
}

TEST(PvcCurveSequential, SurvivesPointsRemovedDuringAPass)
{
    PvcCurve curve;
    curve.initFlat(1000);
    for (int p = 100; p < 900; p += 100)
        curve.insertPoint(p, 1.1f, false);
    curve.beginSequentialRead();
    EXPECT_NEAR(curve.valueAtPositionSequential(750), 1.1f, 1e-6f);
    curve.deleteRange(1, 998);
    // The pass continues on the shrunken curve without reading past it.
    const float v = curve.valueAtPositionSequential(900);
    EXPECT_TRUE(v == -1.0f || v == curve.valueAtPosition(900));
}

TEST(PvcCurveEditing, InsertOutsideTheAllowedRangeIsDropped)
{
    PvcCurve curve;
    curve.initFlat(1000);
    EXPECT_TRUE(curve.insertPoint(0, 1.1f, false));
    EXPECT_TRUE(curve.insertPoint(999, 1.1f, false));
    EXPECT_TRUE(curve.insertPoint(1500, 1.1f, false));
    EXPECT_TRUE(curve.insertPoint(500, 0.0f, false));
    EXPECT_TRUE(curve.insertPoint(500, -1.0f, false));
    EXPECT_TRUE(curve.insertPoint(500, std::numeric_limits<float>::quiet_NaN(), false));
    EXPECT_EQ(curve.count(), 2);
    curve.insertPoint(500, 1.1f, false);
    curve.insertPoint(500, 1.3f, false);
    ASSERT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.valueAt(1), 1.1f);
}

TEST(PvcCurveEditing, InsertKeepsAscendingOrder)
{
    PvcCurve curve;
    curve.initFlat(1000);
    for (int p : {700, 200, 500, 100, 900, 300})
        curve.insertPoint(p, 1.05f, false);
    ASSERT_EQ(curve.count(), 8);
    for (int i = 1; i < curve.count(); ++i)
        EXPECT_LT(curve.positionAt(i - 1), curve.positionAt(i));
}

TEST(PvcCurveEditing, ThinnedInsertComparesWithTheLeftNeighbour)
{
    PvcCurve curve;
    curve.initFlat(1000);
    curve.insertPoint(500, 1.0009f, true);
    curve.insertPoint(500, 0.9991f, true);
    EXPECT_EQ(curve.count(), 2);
    curve.insertPoint(500, 1.0011f, true);
    EXPECT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.lastAcceptedValue(), 1.0011f);
}

TEST(PvcCurveEditing, ThinnedAppendCollapsesARunToItsFirstPoint)
{
    PvcCurve curve;
    EXPECT_TRUE(curve.appendPoint(0, 1.0f, true));
    EXPECT_FALSE(curve.appendPoint(1, 1.0005f, true));
    EXPECT_FALSE(curve.appendPoint(2, 1.0009f, true));  // still compared with 1.0
    EXPECT_TRUE(curve.appendPoint(3, 1.0011f, true));
    EXPECT_EQ(curve.count(), 2);
    EXPECT_TRUE(curve.appendPoint(4, 1.0011f, false));
    EXPECT_EQ(curve.count(), 3);
}

TEST(PvcCurveEditing, DeleteRangeKeepsTheEndPoints)
{
    PvcCurve curve;
    curve.initFlat(1000);
    for (int p = 50; p < 999; p += 50)
        curve.insertPoint(p, 1.2f, false);
    curve.deleteRange(100, 300);
    for (int i = 0; i < curve.count(); ++i)
        EXPECT_FALSE(curve.positionAt(i) >= 100 && curve.positionAt(i) <= 300);
    EXPECT_EQ(curve.count(), 21 - 5);
    EXPECT_TRUE(curve.deleteRange(0, 999));
    ASSERT_EQ(curve.count(), 2);
    EXPECT_EQ(curve.positionAt(0), 0);
    EXPECT_EQ(curve.positionAt(1), 999);
}

TEST(PvcCurveEditing, InitFlatOfTinySelections)
{
    PvcCurve curve;
    curve.initFlat(1);
    EXPECT_EQ(curve.count(), 1);
    EXPECT_EQ(curve.valueAtPosition(0), 1.0f);
    curve.initFlat(0);
    EXPECT_EQ(curve.count(), 0);
    EXPECT_EQ(curve.valueAtPosition(0), -1.0f);
    curve.initFlat(-5);
    EXPECT_EQ(curve.length(), 0);
    EXPECT_EQ(curve.count(), 0);
}

TEST(PvcCurveEditing, ClearForgetsTheThinningReference)
{
    PvcCurve curve;
    curve.initFlat(10);
    EXPECT_EQ(curve.lastAcceptedValue(), 1.0f);
    curve.clear();
    EXPECT_EQ(curve.count(), 0);
    EXPECT_EQ(curve.lastAcceptedValue(), 0.0f);
}

}  // namespace
}  // namespace wowfix
