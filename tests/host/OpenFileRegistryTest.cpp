#include "PluginHost.h"

#include "host/OpenFileRegistry.h"

#include <gtest/gtest.h>

namespace wowfix {
namespace {

void report(OpenFileRegistry& registry, std::initializer_list<std::int32_t> ids) {
    registry.setFileCount(static_cast<int>(ids.size()));
    int i = 0;
    for (std::int32_t id : ids) registry.setFileId(i++, id);
    registry.rebuildFileTable();
}

TEST(OpenFileRegistry, KeptCountsFollowTheFilesStillReported) {
    OpenFileRegistry registry;
    report(registry, {11, 22, 33});
    registry.rememberSnapshotCount(22, 5);
    registry.rememberSnapshotCount(33, 2);
    registry.rememberSnapshotCount(11, -4);
    EXPECT_EQ(registry.snapshotCountOf(11), 0);
    report(registry, {22, 44, 33});  // 11 closed, 44 opened, a new order
    EXPECT_EQ(registry.snapshotCountOf(22), 5);
    EXPECT_EQ(registry.snapshotCountOf(33), 2);
    EXPECT_EQ(registry.snapshotCountOf(44), 0);
    report(registry, {33, 22, 44, 55, 66});  // two new files at once
    EXPECT_EQ(registry.snapshotCountOf(22), 5);
    EXPECT_EQ(registry.snapshotCountOf(55), 0);
    registry.rememberSnapshotCount(66, 3);
    EXPECT_EQ(registry.snapshotCountOf(66), 3);
}

TEST(OpenFileRegistry, ClosingTheFileForgetsEverything) {
    test::PluginHost host;
    OfflinePlugin& plugin = host.plugin();
    host.openFile(2, 1000, 22);
    host.notify();
    ASSERT_EQ(plugin.fileRegistry().openFileId, 22);
    plugin.fileRegistry().rememberSnapshotCount(22, 4);
    plugin.taskState().acquireSnapshotPending = false;
    plugin.closeFile();
    const OpenFileRegistry& registry = plugin.fileRegistry();
    EXPECT_EQ(registry.openFileId, 0);
    EXPECT_EQ(registry.knownFileCount(), 0);
    EXPECT_EQ(registry.previousFileCount(), 0);
    EXPECT_EQ(registry.snapshotCountOf(22), 0);
    EXPECT_EQ(plugin.taskState().channels, 1);
    EXPECT_TRUE(plugin.taskState().acquireSnapshotPending);
}

TEST(OpenFileRegistry, AFirstFileWithIdZeroIsOpened) {
    test::PluginHost host;
    OfflinePlugin& plugin = host.plugin();
    host.openFile(2, 1000, 0);
    host.notify();
    EXPECT_TRUE(plugin.fileRegistry().hasOpenFile());
    EXPECT_EQ(plugin.taskState().channels, 2);
    EXPECT_FALSE(plugin.fileRegistry().isOtherFile(0));
    EXPECT_TRUE(plugin.fileRegistry().isOtherFile(7));
}

}  // namespace
}  // namespace wowfix
