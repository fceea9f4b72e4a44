// The processing-library panel's slider rules against our hum library: after
// any slider move the parameters keep the relations the tracker relies on.

#include "detectors/DetectorParamStore.h"
#include "host/HumPanelRules.h"
#include "tasks/ProcessingLibrary.h"

#include <gtest/gtest.h>

namespace wowfix {
namespace {

class HumPanel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.createLibraryInstance(48000.0f)) << library.message(); }

    // The relations every rule keeps, whatever slider moved.
    void expectRelations(const char* after) {
        EXPECT_GE(library.value(2), 2.0f * library.value(1) - 1e-6f) << after;
        EXPECT_LE(library.value(3), library.value(4)) << after;
        EXPECT_LE(library.value(6), library.value(5)) << after;
        EXPECT_LE(library.value(7), library.value(5)) << after;
        EXPECT_GE(library.display(7), 2.0f) << after;
    }

    DetectorParamStore store;
    ProcessingLibrary library{store, HUM_LIBRARY_FOLDER};
};

TEST_F(HumPanel, DefaultsTrack50HzAndKeepTheRelations) {
    EXPECT_FLOAT_EQ(library.display(2), 750.0f);
    EXPECT_NEAR(library.display(3), 45.0f, 1e-3);
    EXPECT_NEAR(library.display(4), 55.0f, 1e-3);
    EXPECT_FLOAT_EQ(library.display(10), 50.0f);
    expectRelations("the defaults");
    // Every parameter the panel shows has a name and a unit.
    for (int i = 1; i <= 11; ++i) {
        EXPECT_FALSE(library.name(i).empty()) << i;
        EXPECT_FALSE(library.label(i).empty()) << i;
    }
}

TEST_F(HumPanel, EverySliderMoveKeepsTheRelations) {
    applyHumPanelRule(library, 1, 0.6f);
    EXPECT_FLOAT_EQ(library.value(1), 0.3f);  // the slider's range is half the parameter's
    applyHumPanelRule(library, 2, 0.1f);
    EXPECT_FLOAT_EQ(library.value(2), 0.6f);  // pushed up to twice parameter 1
    expectRelations("rate below twice the cut-off");

    applyHumPanelRule(library, 3, 0.9f);
    EXPECT_FLOAT_EQ(library.value(3), library.value(4));
    applyHumPanelRule(library, 3, 0.2f);
    applyHumPanelRule(library, 4, 0.1f);
    EXPECT_FLOAT_EQ(library.value(4), library.value(3));
    expectRelations("band bounds crossed");

    applyHumPanelRule(library, 5, 0.0f);
    EXPECT_GT(library.display(5), 2.0f * library.display(7));
    applyHumPanelRule(library, 6, 1.0f);
    applyHumPanelRule(library, 7, 1.0f);
    expectRelations("median and lag above the smoothing");
    applyHumPanelRule(library, 7, 0.0f);  // the floor of 0.025 is above this short smoothing
    EXPECT_FLOAT_EQ(library.value(7), library.value(5));
    expectRelations("lag of zero, short smoothing");
    applyHumPanelRule(library, 5, 0.2f);
    applyHumPanelRule(library, 7, 0.0f);
    EXPECT_FLOAT_EQ(library.value(7), 0.025f);
    expectRelations("lag of zero");

    // The others take the slider's value as it is.
    applyHumPanelRule(library, 9, 0.4f);
    EXPECT_FLOAT_EQ(library.value(9), 0.4f);
}

}  // namespace
}  // namespace wowfix
