#include "tasks/SelectionTask.h"

#include "MemoryHost.h"
#include "TaskRecords.h"

#include <gtest/gtest.h>

namespace wowfix {
namespace {

using Selection = test::MemoryHost::Selection;

class SelectionTask : public ::testing::Test {
protected:
    void SetUp() override { task.numFramesInSourceFile = 1000; }
    test::MemoryHost host;
    test::TaskRecords records;
    VstOfflineTask& task = records.add(1, 16, 0);
};

TEST_F(SelectionTask, SelectionInsideOrEndingAtTheFileEndStays) {
    EXPECT_TRUE(runSelectionTask(host, task, 600, 1000));
    EXPECT_EQ(host.selections, (std::vector<Selection>{{600, 400, -1}}));
}

TEST_F(SelectionTask, SelectionPastTheEndMovesToTheStartWithinTheFile) {
    EXPECT_TRUE(runSelectionTask(host, task, 600, 1200.5));
    EXPECT_TRUE(runSelectionTask(host, task, 300, 1500));
    EXPECT_EQ(host.selections, (std::vector<Selection>{{0, 600.5, -1}, {0, 1000, -1}}));
}

TEST_F(SelectionTask, RefusedSelectionReadSucceedsWithoutWriting) {
    host.selectionReadable = false;
    EXPECT_TRUE(runSelectionTask(host, task, 10, 20));
    EXPECT_TRUE(host.selections.empty());
    EXPECT_EQ(host.calls, 1);
}

}  // namespace
}  // namespace wowfix
