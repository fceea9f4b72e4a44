#include "ToolBench.h"

namespace wowfix::test {
namespace {

using Tools = ToolBench;

TEST_F(Tools, InsertAddsPointsOnTheCurveAndTwoInsertsAreOneStep) {
    use(insertPointsTool);
    const std::vector<PvcPoint> before = curve.points();
    tools.press(context, 40, 3);
    tools.press(context, 80, 250);
    ASSERT_EQ(curve.count(), 4);
    EXPECT_EQ(curve.positionAt(1), store.blockMiddleAtColumn(40));
    EXPECT_FLOAT_EQ(curve.valueAt(1), 1.0f) << "the row is not used";
    EXPECT_EQ(history.position(), 1);
    // An occupied sample leaves the curve as it is, but the edit is recorded.
    tools.press(context, 40, 3);
    EXPECT_EQ(curve.count(), 4);
    EXPECT_EQ(history.kindAt(0), undoKindPointInserted);
    expectUndoRedo(before);
}

TEST_F(Tools, MovePicksOnTheFirstPressAndStaysBetweenItsNeighbours) {
    use(insertPointsTool);
    for (int x : {30, 60, 90}) tools.press(context, x, 0);
    curve.layout(store);
    use(movePointTool);
    const std::vector<PvcPoint> before = curve.points();
    const int x = curve.xAt(2);
    const int y = curve.yAt(2);
    // No hover came first: the press itself finds the point.
    tools.press(context, x, y);
    ASSERT_TRUE(tools.movePoint().dragging());
    const int row = rowOf(1100.0f);
    tools.drag(context, x + 3, row);
    // Past the left neighbour's column the point stays where it was.
    tools.drag(context, curve.xAt(1) - 1, row);
    EXPECT_EQ(curve.xAt(2), x + 3);
    tools.release(context, curve.xAt(1) - 1, row);
    EXPECT_TRUE(sorted());
    EXPECT_NEAR(curve.valueAt(2), store.valueOfFrequency(store.frequencyAtRow(row)), 1e-6f);
    EXPECT_GT(curve.positionAt(2), before[2].position);
    EXPECT_EQ(history.kindAt(history.position() - 1), undoKindPointMoved);
    expectUndoRedo(before);

    // The bottom row shows 500 Hz here; at zoom 1 it would be 0 Hz. Neither
    // goes past the small positive minimum, nor the top past 2.0.
    store.setReferenceFrequency(100.0f);
    curve.layout(store);
    tools.press(context, curve.xAt(1), curve.yAt(1));
    tools.drag(context, curve.xAt(1) + 1, 0);
    tools.release(context, curve.xAt(1), 0);
    EXPECT_FLOAT_EQ(curve.valueAt(1), maxEditValue);
    store.resetFrequencyZoom();
    store.setReferenceFrequency(10000.0f);
    curve.layout(store);
    tools.press(context, curve.xAt(3), curve.yAt(3));
    tools.drag(context, curve.xAt(3) + 1, kRows + 40);
    tools.release(context, curve.xAt(3), kRows + 40);
    EXPECT_FLOAT_EQ(curve.valueAt(3), minEditValue);
}

TEST_F(Tools, DeleteOverThePanelKeepsTheEndPoints) {
    use(insertPointsTool);
    for (int x : {10, 50, 100}) tools.press(context, x, 0);
    use(deletePointsTool);
    const std::vector<PvcPoint> before = curve.points();
    tools.release(context, 0, 0);  // no press: nothing
    EXPECT_EQ(curve.count(), 5);
    stroke(kPanelWidth + 50, 10, {{60, 10}}, -30, 10);
    ASSERT_EQ(curve.count(), 2);
    EXPECT_TRUE(sorted());
    EXPECT_EQ(history.kindAt(history.position() - 1), undoKindPointsDeleted);
    expectUndoRedo(before);
}

TEST_F(Tools, DrawnStrokeReplacesThePointsUnderIt) {
    use(insertPointsTool);
    for (int x : {20, 45, 70}) tools.press(context, x, 0);
    use(drawCurveTool);
    const int y = rowOf(1010.0f);
    stroke(30, y, {{31, y}, {35, y}, {40, y}, {50, y}}, 50, y);
    const std::vector<PvcPoint> leftToRight = curve.points();
    EXPECT_TRUE(sorted());
    // Old point at column 45 is gone; the one at 20 and at 70 stay.
    EXPECT_EQ(curve.positionAt(1), store.blockMiddleAtColumn(20));
    EXPECT_EQ(curve.positionAt(curve.count() - 2), store.blockMiddleAtColumn(70));
    for (int i = 3; i < curve.count() - 3; ++i) EXPECT_NEAR(curve.valueAt(i), store.valueOfFrequency(store.frequencyAtRow(y)), 1e-6f);
    EXPECT_EQ(history.kindAt(history.position() - 1), undoKindDrawn);
    const int steps = history.position();

    ASSERT_TRUE(undoStep(curve, history));
    stroke(50, y, {{40, y}, {35, y}, {31, y}, {30, y}}, 30, y);
    expectSame(curve.points(), leftToRight);
    // The next stroke is a step of its own.
    stroke(60, y, {{62, y}}, 64, y);
    EXPECT_EQ(history.position(), steps + 1);
}

TEST_F(Tools, StrokeBackwardsBeyondTheEndsAndPastThePanelStaysSorted) {
    use(insertPointsTool);
    for (int x : {20, 45, 70, 110}) tools.press(context, x, 0);
    use(drawCurveTool);
    // Out past the release column and back, backwards in time, off the
    // panel's last pixels and into the top rows with a low reference line.
    store.setReferenceFrequency(300.0f);
    stroke(kPanelWidth - 1, 5, {{kPanelWidth - 2, 5}, {40, 3}, {15, 4}, {60, 6}, {kPanelWidth + 9, 6}}, 50, 2);
    EXPECT_TRUE(sorted());
    expectValuesIn(minEditValue, maxEditValue);
    // Every old point under the whole stroke (15 ... the panel's end) is gone.
    for (const PvcPoint& p : curve.points()) {
        if (p.position > store.blockMiddleAtColumn(15) && p.position < kLength - 2) {
            EXPECT_NEAR(p.value, maxEditValue, 1e-6f) << p.position;
        }
    }
    EXPECT_FALSE(tools.drawCurve().drawing());
}

TEST_F(Tools, CentreOfGravityFollowsTheLineBothWays) {
    feed([](double t) { return 1000.0 * (1.0 + 0.01 * t); });  // 1 % up over the second
    use(centreOfGravityTool);
    const std::vector<PvcPoint> before = curve.points();
    const int y = rowOf(1000.0f);
    tools.press(context, 10, y);
    tools.drag(context, 100, y + 8);
    EXPECT_FALSE(tools.centreOfGravity().preview().empty());
    tools.release(context, 100, y + 8);
    ASSERT_EQ(tools.centreOfGravity().followed(), 90);
    EXPECT_TRUE(sorted());
    const float scale = store.valueOfFrequency(store.frequencyAtRow(y));
    const int mid = store.blockMiddleAtColumn(55);
    const float expected = scale * static_cast<float>((1.0 + 0.01 * mid / 44100.0) /
                                                      (1.0 + 0.01 * store.blockMiddleAtColumn(10) / 44100.0));
    EXPECT_NEAR(curve.valueAtPosition(mid), expected, 1.5e-3f);
    EXPECT_EQ(history.kindAt(history.position() - 1), undoKindCentreOfGravity);
    expectUndoRedo(before);

    // The same line dragged leftwards from a press at the panel's last pixel.
    const float rightwards = curve.valueAtPosition(mid);
    ASSERT_TRUE(undoStep(curve, history));
    const int yEnd = rowOf(1000.0f * (1.0f + 0.01f * store.blockMiddleAtColumn(kColumns - 1) / 44100.0f));
    tools.press(context, kPanelWidth - 1, yEnd);
    tools.release(context, 10, yEnd - 8);
    EXPECT_EQ(tools.centreOfGravity().followed(), -(kColumns - 1 - 10));
    EXPECT_TRUE(sorted());
    const float leftScale = store.valueOfFrequency(store.frequencyAtRow(yEnd));
    EXPECT_NEAR(curve.valueAtPosition(mid) / leftScale * scale, rightwards, 2e-3f);
    expectValuesIn(minEditValue, maxEditValue);
}

TEST_F(Tools, CentreOfGravityOnSilenceOrWithoutABandChangesNothing) {
    use(insertPointsTool);
    tools.press(context, 50, 0);
    use(centreOfGravityTool);
    const std::vector<PvcPoint> before = curve.points();
    const int steps = history.position();
    const int y = rowOf(1000.0f);
    stroke(10, y, {{100, y + 8}}, 100, y + 8);  // silence: the store holds nothing
    EXPECT_EQ(tools.centreOfGravity().followed(), 0);
    expectSame(curve.points(), before);
    feed([](double) { return 1000.0; });
    stroke(10, y, {}, 100, y);  // no vertical distance: no band
    expectSame(curve.points(), before);
    stroke(kPanelWidth + 20, y, {}, kPanelWidth + 30, y + 8);  // nothing between the columns
    expectSame(curve.points(), before);
    EXPECT_EQ(history.position(), steps);
    for (const PvcPoint& p : curve.points()) EXPECT_FALSE(std::isnan(p.value));
}

TEST_F(Tools, AreaMarksTheBandAndRangeWithoutAnUndoStep) {
    use(processingAreaTool);
    const int steps = history.position();
    stroke(90, rowOf(700.0f), {{50, 50}}, 20, rowOf(1200.0f));
    EXPECT_TRUE(area.selected);
    EXPECT_EQ(area.lowFrequency, store.frequencyAtRow(rowOf(700.0f)));
    EXPECT_EQ(area.highFrequency, store.frequencyAtRow(rowOf(1200.0f)));
    EXPECT_EQ(area.start, store.blockMiddleAtColumn(20));
    EXPECT_EQ(area.end, store.blockMiddleAtColumn(90));
    EXPECT_EQ(history.position(), steps);
}

// The area is in file positions: in a view that starts further into the
// file the columns' samples are offset by the view's start; a click marks
// nothing.
TEST_F(Tools, AreaIsInFilePositionsAndAClickMarksNothing) {
    use(processingAreaTool);
    context.viewOffset = 100000;
    stroke(20, rowOf(700.0f), {}, 90, rowOf(1200.0f));
    ASSERT_TRUE(area.selected);
    EXPECT_EQ(area.start, 100000 + store.blockMiddleAtColumn(20));
    EXPECT_EQ(area.end, 100000 + store.blockMiddleAtColumn(90));
    stroke(40, rowOf(700.0f), {}, 40, rowOf(1200.0f));
    EXPECT_FALSE(area.selected);
}

TEST(CurveInsertion, RefusesValuesThatAreNotFinite) {
    PvcCurve curve;
    curve.initFlat(100);
    curve.insertPoint(50, INFINITY, false);
    curve.insertPoint(51, NAN, false);
    EXPECT_EQ(curve.count(), 2);
}

}  // namespace
}  // namespace wowfix::test
