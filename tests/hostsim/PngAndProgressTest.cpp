#include "HostTestSupport.h"

#include "hostsim/cli/PngImage.h"
#include "hostsim/cli/ProgressBar.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <sstream>

using namespace wowfix::hostsim;

namespace {

bool readPng(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& pixels) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return false;
    image.format = PNG_FORMAT_GRAY;
    pixels.resize(PNG_IMAGE_SIZE(image));
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
}

}  // namespace

TEST(GreyPictures, WrittenPixelsReadBackUnchanged) {
    hostsim_test::TempDir dir;
    const std::string path = dir.file("grey.png");
    const int width = 37;
    const int height = 11;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>((i * 7) % 256);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::string error;
    ASSERT_TRUE(writeGreyPng(file, width, height, pixels, error)) << error;
    std::fclose(file);

    int readWidth = 0;
    int readHeight = 0;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(readPng(path, readWidth, readHeight, back));
    EXPECT_EQ(readWidth, width);
    EXPECT_EQ(readHeight, height);
    EXPECT_EQ(back, pixels);
}

TEST(GreyPictures, RefusesAPictureOfTheWrongSize) {
    std::string error;
    std::vector<std::uint8_t> pixels(10);
    EXPECT_FALSE(writeGreyPng(stdout, 4, 4, pixels, error));
    EXPECT_FALSE(writeGreyPng(stdout, 0, 10, pixels, error));
}

TEST(GreyPictures, LevelsMapFromBlackToWhite) {
    EXPECT_EQ(greyOfLevel(0.0f), 0);
    EXPECT_EQ(greyOfLevel(-5.0f), 0);
    EXPECT_EQ(greyOfLevel(100.0f), 255);
    EXPECT_EQ(greyOfLevel(250.0f), 255);
    EXPECT_EQ(greyOfLevel(NAN), 0);
    int previous = -1;
    for (float level = 0.0f; level <= 100.0f; level += 0.5f) {
        EXPECT_GE(greyOfLevel(level), previous);
        previous = greyOfLevel(level);
    }
}

TEST(ProgressDisplay, RedrawsOnlyWhenThePercentageChangesAndEndsAtFull) {
    std::ostringstream out;
    ProgressBar bar(out, "work");
    bar.update(0.0);
    const std::size_t afterFirst = out.str().size();
    bar.update(0.001);
    bar.update(0.009);
    EXPECT_EQ(out.str().size(), afterFirst) << "still 0 %";
    bar.update(0.5);
    EXPECT_NE(out.str().find(" 50%"), std::string::npos);
    bar.update(7.0);
    EXPECT_EQ(bar.shownPercent(), 100);
    bar.finish();
    EXPECT_EQ(out.str().back(), '\n');
    EXPECT_NE(out.str().find("[" + std::string(ProgressBar::kWidth, '#') + "] 100%"), std::string::npos);
    const std::size_t done = out.str().size();
    bar.finish();
    EXPECT_EQ(out.str().size(), done);
}

TEST(ProgressDisplay, SilentWhenNothingWasShown) {
    std::ostringstream out;
    ProgressBar bar(out, "work");
    bar.finish();
    bar.abandon();
    EXPECT_TRUE(out.str().empty());
}
