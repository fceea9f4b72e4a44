// The main of every test program: plug-in instances made by the tests keep
// their undo snapshots inside the build tree, never in the user's own
// temporary folder (a test that needs another folder sets its own).
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("WOWFIX_TEMP", WOWFIX_TEST_TEMP, 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
