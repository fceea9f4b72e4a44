#include "pvc/PvcCurve.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace wowfix {
namespace {

using test::LinearRows;

// Points at 0, 100 (1.1), 200 (0.9) and 999 over a 1000-sample selection.
PvcCurve fourPoints()
{
    PvcCurve curve;
    curve.initFlat(1000);
    curve.insertPoint(100, 1.1f, false);
    curve.insertPoint(200, 0.9f, false);
    return curve;
}

TEST(PvcCurveLayout, WholeSelectionPutsTheEndsOnThePanelBorders)
{
    PvcCurve curve;
    curve.initFlat(1000);
    curve.setView(668, 259, 0, 999);
    EXPECT_EQ(curve.plotWidth(), 667);
    EXPECT_EQ(curve.plotHeight(), 257);
    ASSERT_TRUE(curve.layout(LinearRows()));
    EXPECT_FALSE(curve.firstEdgeInterpolated());
    EXPECT_FALSE(curve.lastEdgeInterpolated());
    EXPECT_EQ(curve.firstVisible(), 0);
    EXPECT_EQ(curve.lastVisible(), 1);
    EXPECT_EQ(curve.xAt(0), 1);
    EXPECT_EQ(curve.yAt(0), 130);
    EXPECT_EQ(curve.xAt(1), 667);
    EXPECT_NEAR(curve.samplesPerPixel(), 999.0f / 667.0f, 1e-4f);
}

TEST(PvcCurveLayout, ZoomedViewInterpolatesBothEdges)
{
    PvcCurve curve = fourPoints();
    curve.setView(668, 259, 50, 150);
    ASSERT_TRUE(curve.layout(LinearRows()));
    EXPECT_TRUE(curve.firstEdgeInterpolated());
    EXPECT_TRUE(curve.lastEdgeInterpolated());
    EXPECT_EQ(curve.firstVisible(), 1);
    EXPECT_EQ(curve.lastVisible(), 1);
    EXPECT_EQ(curve.firstEdge().position, 50);
    EXPECT_EQ(curve.firstEdge().x, 1);
    EXPECT_EQ(curve.firstEdge().y, LinearRows().rowOfValue(curve.valueAtPosition(50)));
    EXPECT_EQ(curve.xAt(1), 334);  // 50 samples at 6.67 pixels each, 1-based
    EXPECT_EQ(curve.yAt(1), LinearRows().rowOfValue(1.1f));
    EXPECT_EQ(curve.xAt(2), 667);  // beyond the view: clamped onto the border
    EXPECT_EQ(curve.lastEdge().position, 150);
    EXPECT_EQ(curve.lastEdge().x, 668);
    EXPECT_EQ(curve.lastEdge().y, LinearRows().rowOfValue(curve.valueAtPosition(150)));
}

TEST(PvcCurveLayout, ViewPastTheLastPointLeavesAnEmptyRange)
{
    PvcCurve curve;
    curve.setLength(1000);
    curve.appendPoint(0, 1.0f, false);
    curve.appendPoint(500, 1.0f, false);
    curve.setView(668, 259, 0, 999);
    ASSERT_TRUE(curve.layout(LinearRows()));
    EXPECT_EQ(curve.lastVisible(), 1);

    curve.setView(668, 259, 600, 900);
    ASSERT_TRUE(curve.layout(LinearRows()));
    EXPECT_LT(curve.lastVisible(), curve.firstVisible());
    EXPECT_LE(curve.lastVisible(), curve.count() - 1);
    // The right edge of a view past the curve is drawn at 1.0.
    EXPECT_EQ(curve.lastEdge().y, LinearRows().rowOfValue(1.0f));
    EXPECT_FALSE(curve.hitTest(1, LinearRows().rowOfValue(1.0f)));
    EXPECT_FALSE(curve.selectAt(1, LinearRows().rowOfValue(1.0f)));
    EXPECT_EQ(curve.findPointNear(500), -1);
}

TEST(PvcCurveLayout, EmptyCurveAndEmptyViewAreSafe)
{
    PvcCurve curve;
    curve.setView(668, 259, 0, 0);
    EXPECT_FALSE(curve.layout(LinearRows()));
    EXPECT_FALSE(curve.updateEdges(LinearRows()));
    EXPECT_EQ(curve.sampleAtPixel(10), -1);
    EXPECT_LT(curve.lastVisible(), curve.firstVisible());

    curve.initFlat(1000);
    curve.setView(1, 259, 0, 999);  // no pixel column to draw in
    EXPECT_FALSE(curve.layout(LinearRows()));
    EXPECT_EQ(curve.sampleAtPixel(1), -1);

    PvcCurve none;
    none.setLength(100);
    none.setView(668, 259, 0, 99);
    EXPECT_TRUE(none.layout(LinearRows()));
    EXPECT_EQ(none.lastVisible(), -1);
    EXPECT_FALSE(none.hitTest(1, 1));
}

TEST(PvcCurveLayout, UpdateEdgesFollowsAChangedValue)
{
    PvcCurve curve = fourPoints();
    curve.setView(668, 259, 50, 150);
    curve.layout(LinearRows());
    const int before = curve.firstEdge().y;
    curve.setValue(1, 1.5f);
    ASSERT_TRUE(curve.updateEdges(LinearRows()));
    EXPECT_NE(curve.firstEdge().y, before);
    EXPECT_EQ(curve.firstEdge().y, LinearRows().rowOfValue(curve.valueAtPosition(50)));
}

TEST(PvcCurveLayout, SetPixelClampsToThePanel)
{
    PvcCurve curve;
    curve.initFlat(10);
    curve.setView(668, 259, 0, 9);
    curve.setPixel(0, -40, 9999);
    EXPECT_EQ(curve.xAt(0), 1);
    EXPECT_EQ(curve.yAt(0), 257);
    curve.setPixel(0, 9999, -3);
    EXPECT_EQ(curve.xAt(0), 667);
    EXPECT_EQ(curve.yAt(0), 1);
}

TEST(PvcCurvePicking, HitTestReachesThreePixels)
{
    PvcCurve curve = fourPoints();
    curve.setView(668, 259, 0, 999);
    curve.layout(LinearRows());
    const int x = curve.xAt(1);
    const int y = curve.yAt(1);
    EXPECT_TRUE(curve.hitTest(x + 3, y - 3));
    EXPECT_FALSE(curve.hitTest(x + 4, y));
    EXPECT_FALSE(curve.hitTest(x, y - 4));
}

TEST(PvcCurvePicking, EndPointsCannotBeSelected)
{
    PvcCurve curve = fourPoints();
    curve.setView(668, 259, 0, 999);
    curve.layout(LinearRows());
    EXPECT_TRUE(curve.selectAt(curve.xAt(1), curve.yAt(1)));
    EXPECT_EQ(curve.selectedIndex(), 1);
    EXPECT_FALSE(curve.selectAt(curve.xAt(0), curve.yAt(0)));
    EXPECT_EQ(curve.selectedIndex(), -1);
    EXPECT_FALSE(curve.selectAt(curve.xAt(3), curve.yAt(3)));
    EXPECT_EQ(curve.selectedIndex(), -1);
    // A miss leaves the selection as it was.
    curve.selectAt(curve.xAt(2), curve.yAt(2));
    EXPECT_FALSE(curve.selectAt(300, 5));
    EXPECT_EQ(curve.selectedIndex(), 2);
    EXPECT_TRUE(curve.isSelected(2));
    curve.clearSelection();
    EXPECT_EQ(curve.selectedIndex(), -1);
}

TEST(PvcCurvePicking, SampleAtPixelIsClampedToTheView)
{
    PvcCurve curve;
    curve.initFlat(10000);
    curve.setView(668, 259, 1000, 2000);
    curve.layout(LinearRows());
    EXPECT_EQ(curve.sampleAtPixel(1), 1000);
    EXPECT_EQ(curve.sampleAtPixel(-50), 1000);
    EXPECT_EQ(curve.sampleAtPixel(5000), 2000);
    int previous = curve.sampleAtPixel(1);
    for (int x = 2; x <= 668; ++x) {
        const int s = curve.sampleAtPixel(x);
        EXPECT_GT(s, previous);
        previous = s;
    }
}

TEST(PvcCurvePicking, FindPointNearUsesThePixelWidthInSamples)
{
    PvcCurve curve = fourPoints();
    curve.setView(668, 259, 0, 999);  // about 1.5 samples per pixel: reach 2
    curve.layout(LinearRows());
    EXPECT_EQ(curve.findPointNear(101), 1);
    EXPECT_EQ(curve.findPointNear(99), 1);
    EXPECT_EQ(curve.findPointNear(102), -1);
    EXPECT_EQ(curve.findPointNear(0), 0);
}

TEST(PvcCurveMove, ClickWithoutDragChangesNothing)
{
    PvcCurve curve = fourPoints();
    curve.setView(668, 259, 0, 999);
    curve.layout(LinearRows());
    EXPECT_FALSE(curve.commitMove(1.2f));
    ASSERT_TRUE(curve.selectAt(curve.xAt(1), curve.yAt(1)));
    EXPECT_FALSE(curve.commitMove(1.2f));
    EXPECT_EQ(curve.valueAt(1), 1.1f);
}

TEST(PvcCurveMove, ValuesAreClampedToZeroAndTwo)
{
    PvcCurve curve = fourPoints();
    curve.setView(668, 259, 0, 999);
    curve.layout(LinearRows());
    ASSERT_TRUE(curve.selectAt(curve.xAt(1), curve.yAt(1)));
    curve.setPixel(1, curve.xAt(1) + 5, curve.yAt(1) - 10);
    ASSERT_TRUE(curve.commitMove(2.5f));
    EXPECT_EQ(curve.valueAt(1), 2.0f);
    EXPECT_EQ(curve.positionAt(1), curve.sampleAtPixel(curve.xAt(1)));
    ASSERT_TRUE(curve.commitMove(-0.3f));
    EXPECT_EQ(curve.valueAt(1), 0.0f);
}

TEST(PvcCurveMove, ZoomedInAPointNeverLandsOnItsNeighbour)
{
    // Ten pixels per sample: the column just left of a neighbour maps onto the
    // neighbour's own sample.
    PvcCurve curve;
    curve.initFlat(1000);
    curve.insertPoint(103, 1.1f, false);
    curve.insertPoint(105, 1.2f, false);
    curve.setView(668, 259, 100, 166);
    curve.layout(LinearRows());
    ASSERT_TRUE(curve.selectAt(curve.xAt(1), curve.yAt(1)));
    curve.setPixel(1, curve.xAt(2) - 1, curve.yAt(1));
    ASSERT_TRUE(curve.commitMove(1.1f));
    EXPECT_GT(curve.positionAt(1), curve.positionAt(0));
    EXPECT_LT(curve.positionAt(1), curve.positionAt(2));
}

}  // namespace
}  // namespace wowfix
