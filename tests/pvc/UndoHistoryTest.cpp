#include "pvc/FileSlotMap.h"
#include "pvc/UndoHistory.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace wowfix {
namespace {

TEST(UndoHistory, RefusesTheFiveHundredTwelfthStep)
{
    UndoHistory h;
    for (int i = 0; i < maxUndoSteps; ++i)
        ASSERT_TRUE(h.push(undoKindPointMoved)) << i;
    EXPECT_EQ(h.position(), 511);
    EXPECT_FALSE(h.push(undoKindDrawn));
    EXPECT_EQ(h.position(), 511);
    EXPECT_EQ(h.count(), 511);
    EXPECT_EQ(h.kindAt(510), undoKindPointMoved);
}

TEST(UndoHistory, UndoAndRedoStayInsideTheRecordedSteps)
{
    UndoHistory h;
    EXPECT_FALSE(h.canUndo());
    h.undo();
    EXPECT_EQ(h.position(), 0);
    h.push(undoKindImported);
    h.push(undoKindPointInserted);
    h.undo();
    h.undo();
    h.undo();
    EXPECT_EQ(h.position(), 0);
    EXPECT_TRUE(h.canRedo());
    h.redo();
    h.redo();
    h.redo();
    EXPECT_EQ(h.position(), 2);
    EXPECT_FALSE(h.canRedo());
}

TEST(UndoHistory, PushAfterUndoDropsTheRedoSteps)
{
    UndoHistory h;
    h.push(undoKindPointMoved);
    h.push(undoKindPointMoved);
    h.push(undoKindPointMoved);
    h.undo();
    h.undo();
    h.push(undoKindPointsDeleted);
    EXPECT_EQ(h.position(), 2);
    EXPECT_EQ(h.count(), 2);
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.kindAt(1), undoKindPointsDeleted);
    EXPECT_EQ(h.kindAt(2), -1);
    h.reset();
    EXPECT_EQ(h.position(), 0);
    EXPECT_EQ(h.count(), 0);
}

TEST(FileSlotMap, AnyIdLandsInsideTheSixteenSlots)
{
    FileSlotMap map;
    std::set<int> slots;
    for (std::int32_t id : {0, 15, 16, -1, 1000000, std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max()}) {
        const int slot = map.slotOf(id);
        EXPECT_GE(slot, 0);
        EXPECT_LT(slot, FileSlotMap::slotCount);
        EXPECT_EQ(map.slotOf(id), slot);
        slots.insert(slot);
    }
    EXPECT_EQ(slots.size(), 7u);
    EXPECT_EQ(map.find(12345), -1);
}

TEST(FileSlotMap, SeventeenthFileTakesTheLeastRecentlyUsedSlot)
{
    FileSlotMap map;
    for (int id = 100; id < 116; ++id)
        map.slotOf(id);
    map.slotOf(100);  // used again: 101 is now the oldest
    bool reused = false;
    const int slot = map.slotOf(500, &reused);
    EXPECT_TRUE(reused);
    EXPECT_EQ(map.find(101), -1);
    EXPECT_EQ(map.find(500), slot);
    EXPECT_NE(map.find(100), -1);

    map.release(102);
    map.slotOf(600, &reused);
    EXPECT_FALSE(reused);
}

}  // namespace
}  // namespace wowfix
