// The opened window compared with the reference picture kept beside this
// test. Set WOWFIX_REGENERATE_REFERENCE=1 to write it anew on purpose. The
// comparison allows for a different font: a few per cent of the pixels may
// differ, but not the places of the controls and the panel.

#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "tests/host/PluginHost.h"
#include "tests/support/RgbPng.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using wowfix::test::readRgbPng;
using wowfix::test::writeRgbPng;

TEST(ReferencePicture, TheOpenedWindowLooksLikeTheReference) {
    wowfix::test::PluginHost host;
    ASSERT_EQ(host.dispatch(effEditOpen), 1);
    wowfix::soft::Picture picture;
    ASSERT_TRUE(wowfix::soft::takePicture(host.plugin().editorWindow()->mainWindow(), picture));
    host.dispatch(effEditClose);
    ASSERT_EQ(picture.width, 780);
    ASSERT_EQ(picture.height, 470);
    std::vector<std::uint8_t> taken(picture.pixels.size() * 3);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        taken[3 * i] = static_cast<std::uint8_t>(picture.pixels[i] >> 16);
        taken[3 * i + 1] = static_cast<std::uint8_t>(picture.pixels[i] >> 8);
        taken[3 * i + 2] = static_cast<std::uint8_t>(picture.pixels[i]);
    }
    const std::string reference = WOWFIX_EDITOR_REFERENCE;
    const char* regenerate = std::getenv("WOWFIX_REGENERATE_REFERENCE");
    if (regenerate != nullptr && std::strcmp(regenerate, "1") == 0) {
        ASSERT_TRUE(writeRgbPng(reference, picture.width, picture.height, taken));
        GTEST_SKIP() << "reference written to " << reference;
    }
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(readRgbPng(reference, width, height, expected)) << reference;
    ASSERT_EQ(width, picture.width);
    ASSERT_EQ(height, picture.height);
    long long differing = 0;
    long long panelDiffering = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = (static_cast<size_t>(y) * width + x) * 3;
            const bool differs = std::abs(taken[i] - expected[i]) > 24 || std::abs(taken[i + 1] - expected[i + 1]) > 24 ||
                                 std::abs(taken[i + 2] - expected[i + 2]) > 24;
            differing += differs;
            // The panel shows the start picture, which no font changes.
            if (x >= 75 && x < 745 && y >= 25 && y < 285) panelDiffering += differs;
        }
    EXPECT_LT(differing, static_cast<long long>(width) * height * 3 / 100);
    EXPECT_EQ(panelDiffering, 0);
}

}  // namespace
