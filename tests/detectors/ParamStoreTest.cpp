// The plug-in's remembered detector values: seven slots, prepared once, guarded
// against every out-of-range slot, index and value; and the save and restore
// around the life of a detector object.

#include "detectors/DetectorParamStore.h"
#include "detectors/ToneTracker.h"

#include <gtest/gtest.h>

#include <limits>

using wowfix::DetectorParamStore;
using wowfix::ToneTracker;

namespace {

TEST(ParamStore, NothingIsReadyAtFirst)
{
    DetectorParamStore store;
    for (int slot = -1; slot <= 7; ++slot) {
        EXPECT_EQ(store.isSlotReady(slot), 0);
        EXPECT_FALSE(store.saveSlot(slot, 0, 0.5f));
        EXPECT_EQ(store.loadSlot(slot, 0), 0.0f);
        EXPECT_EQ(store.valueCount(slot), 0);
    }
}

TEST(ParamStore, PreparedSlotHoldsZeroedValuesAndIsNeverResized)
{
    DetectorParamStore store;
    ASSERT_TRUE(store.prepareSlot(4, 6));
    EXPECT_EQ(store.isSlotReady(4), 1);
    EXPECT_EQ(store.valueCount(4), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(store.loadSlot(4, i), 0.0f);
    EXPECT_TRUE(store.saveSlot(4, 5, 0.25f));
    EXPECT_FALSE(store.prepareSlot(4, 3));
    EXPECT_EQ(store.valueCount(4), 6);
    EXPECT_EQ(store.loadSlot(4, 5), 0.25f);
    // Other slots stay as they were.
    EXPECT_EQ(store.isSlotReady(2), 0);
}

TEST(ParamStore, BadSlotsCountsIndexesAndValuesAreRefused)
{
    DetectorParamStore store;
    EXPECT_FALSE(store.prepareSlot(7, 3));
    EXPECT_FALSE(store.prepareSlot(-1, 3));
    EXPECT_FALSE(store.prepareSlot(1, 0));
    EXPECT_FALSE(store.prepareSlot(1, -5));
    EXPECT_FALSE(store.prepareSlot(1, DetectorParamStore::maxValueCount + 1));
    EXPECT_EQ(store.isSlotReady(1), 0);

    ASSERT_TRUE(store.prepareSlot(2, 3));
    ASSERT_TRUE(store.saveSlot(2, 1, 0.6f));
    EXPECT_FALSE(store.saveSlot(2, 3, 0.5f));
    EXPECT_FALSE(store.saveSlot(2, -1, 0.5f));
    EXPECT_EQ(store.loadSlot(2, 3), 0.0f);
    EXPECT_FALSE(store.saveSlot(2, 1, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(store.loadSlot(2, 1), 0.6f);
    // Normalised values: clamped to 0..1.
    EXPECT_TRUE(store.saveSlot(2, 0, 4.0f));
    EXPECT_EQ(store.loadSlot(2, 0), 1.0f);
    EXPECT_TRUE(store.saveSlot(2, 0, -0.5f));
    EXPECT_EQ(store.loadSlot(2, 0), 0.0f);
}

TEST(ParamStore, FirstCreationPreparesTheSlotWithTheDefaults)
{
    DetectorParamStore store;
    ToneTracker tracker(44100.0f);
    EXPECT_FALSE(store.rememberParameters(DetectorParamStore::toneTrackerSlot, tracker));
    ASSERT_TRUE(store.restoreParameters(DetectorParamStore::toneTrackerSlot, tracker));
    const float defaults[] = {0.18f, 1.0f, 0.5f, 0.1f, 0.3f, 0.68f};
    ASSERT_EQ(store.valueCount(DetectorParamStore::toneTrackerSlot), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(store.loadSlot(DetectorParamStore::toneTrackerSlot, i), defaults[i]);
    EXPECT_FALSE(store.restoreParameters(7, tracker));
}

// The user moves a slider, leaves the algorithm (the tracker is destroyed) and
// comes back (a new tracker): the moved value returns, not the default.
TEST(ParamStore, ValuesSurviveTheDetectorObject)
{
    DetectorParamStore store;
    const int slot = DetectorParamStore::toneTrackerSlot;
    {
        ToneTracker first(48000.0f);
        store.restoreParameters(slot, first);
        first.setParameter(0, 0.75f);
        first.setParameter(5, 0.0f);
        EXPECT_TRUE(store.rememberParameters(slot, first));
    }
    ToneTracker second(48000.0f);
    EXPECT_EQ(second.getParameterDisplayValue(0), 1024.0f);
    store.restoreParameters(slot, second);
    EXPECT_EQ(second.getParameter(0), 0.75f);
    EXPECT_EQ(second.getParameterDisplayValue(0), 4096.0f);
    EXPECT_EQ(second.getParameterDisplayValue(5), 50.0f);
    EXPECT_EQ(second.getParameter(1), 1.0f);
}

}  // namespace
