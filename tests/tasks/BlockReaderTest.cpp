#include "tasks/BlockReader.h"

#include "MemoryHost.h"
#include "TaskRecords.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wowfix {
namespace {

class BlockReading : public ::testing::Test {
protected:
    void SetUp() override { host.source = {std::vector<float>(10, 0.25f)}; }
    // Reads the whole record; answers the number of reads that succeeded.
    int readAll(double frames) {
        task.numFramesToProcess = frames;
        BlockReader reader(host, task);
        int reads = 0;
        while (reader.valid() && !reader.done() && reads < 20 && reader.readNext()) ++reads;
        return reads;
    }
    test::MemoryHost host;
    test::TaskRecords records;
    VstOfflineTask& task = records.add(1, 4, 0);
};

TEST_F(BlockReading, TenFramesInBlocksOfFourReadFourFourTwo) {
    EXPECT_EQ(readAll(10), 3);
    EXPECT_EQ(host.readCounts, (std::vector<int>{4, 4, 2}));
    EXPECT_EQ(host.readPositions, (std::vector<double>{0, 4, 8}));
    ASSERT_EQ(host.progress.size(), 3u);
    EXPECT_DOUBLE_EQ(host.progress[1], 0.4);
    EXPECT_DOUBLE_EQ(host.progress[2], 0.8);
    EXPECT_EQ(host.progress[0], 0.0);
}

TEST_F(BlockReading, FractionalFrameCountEndsOnTheWholeFrames) {
    EXPECT_EQ(readAll(9.7), 3);
    EXPECT_EQ(host.readCounts, (std::vector<int>{4, 4, 1}));
}

TEST_F(BlockReading, UnusableRecordsAreRefusedBeforeAnyRead) {
    task.sizeInputBuffer = 0;
    EXPECT_FALSE(BlockReader(host, task).valid());
    task.sizeInputBuffer = 4;
    for (double frames : {-1.0, std::nan(""), HUGE_VAL}) {
        task.numFramesToProcess = frames;
        BlockReader reader(host, task);
        EXPECT_FALSE(reader.valid());
        EXPECT_FALSE(reader.readNext());
    }
    EXPECT_EQ(host.calls, 0);
}

TEST_F(BlockReading, FailedReadStopsTheLoop) {
    host.failRead = 2;
    EXPECT_EQ(readAll(10), 1);
}

}  // namespace
}  // namespace wowfix
