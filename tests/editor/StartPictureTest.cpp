// The start picture kept as a Windows bitmap resource is the picture the
// other systems draw, pixel for pixel.

#include "editor/StartPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::uint32_t read32(const std::vector<unsigned char>& f, size_t at) {
    return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | static_cast<std::uint32_t>(f[at + 3]) << 24;
}

TEST(StartPicture, TheWindowsResourceHoldsTheSamePixels) {
    std::ifstream in(WOWFIX_START_PICTURE_BMP, std::ios::binary);
    const std::vector<unsigned char> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(f.size(), 54u);
    ASSERT_EQ(f[0], 'B');
    ASSERT_EQ(f[1], 'M');
    const int width = static_cast<int>(read32(f, 18));
    const int height = static_cast<int>(read32(f, 22));
    ASSERT_EQ(width, wowfix::kStartPictureWidth);
    ASSERT_EQ(height, wowfix::kStartPictureHeight);
    ASSERT_EQ(f[28], 24);
    const size_t offset = read32(f, 10);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_GE(f.size(), offset + stride * static_cast<size_t>(height));
    const std::uint8_t* drawn = wowfix::startPicturePixels();
    long long differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            // Another system's mathematics library may round a value the other way.
            differing += std::abs(f[offset + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x)] -
                                  drawn[static_cast<size_t>(y) * static_cast<size_t>(width) * 3 + static_cast<size_t>(x)]) > 1;
    EXPECT_EQ(differing, 0);
}

}  // namespace
