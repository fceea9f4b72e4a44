#include "editor/Palette.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Rgb {
    int r, g, b;
};

Rgb rgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

TEST(Palette, QuarterBoundariesRunFromBlueThroughCyanGreenYellowToRed) {
    const wowfix::Palette palette;
    const struct {
        int level;
        Rgb colour;
    } anchors[] = {{0, {75, 75, 255}}, {25, {75, 255, 255}}, {50, {75, 255, 75}}, {75, {255, 255, 75}},
                   {100, {255, 75, 75}}};
    for (const auto& a : anchors) {
        SCOPED_TRACE(a.level);
        const Rgb c = rgb(palette.colour(a.level));
        EXPECT_EQ(c.r, a.colour.r);
        EXPECT_EQ(c.g, a.colour.g);
        EXPECT_EQ(c.b, a.colour.b);
    }
}

TEST(Palette, EachQuarterMovesOneComponentBy7Point2PerLevel) {
    const wowfix::Palette palette;
    // Within a quarter exactly one component changes, and it changes by 7
    // or 8 per level (7.2 rounded), monotonically.
    for (int level = 1; level <= 100; ++level) {
        SCOPED_TRACE(level);
        const Rgb a = rgb(palette.colour(level - 1));
        const Rgb b = rgb(palette.colour(level));
        const int moved = (a.r != b.r) + (a.g != b.g) + (a.b != b.b);
        EXPECT_EQ(moved, 1);
        const int step = std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        EXPECT_TRUE(step == 7 || step == 8);
    }
    // One value inside a quarter: level 10 has green 255 - round(15 * 7.2).
    EXPECT_EQ(rgb(palette.colour(10)).g, 255 - 108);
}

TEST(Palette, LevelsAreTruncatedAndClampedAndNanIsTheLowest) {
    const wowfix::Palette palette;
    EXPECT_EQ(palette.colourOfLevel(42.9f), palette.colour(42));
    EXPECT_EQ(palette.colourOfLevel(-3.0f), palette.colour(0));
    EXPECT_EQ(palette.colourOfLevel(NAN), palette.colour(0));
    EXPECT_EQ(palette.colourOfLevel(1e30f), palette.colour(100));
    EXPECT_EQ(palette.colourOfLevel(INFINITY), palette.colour(100));
    EXPECT_EQ(palette.colourOfLevel(-INFINITY), palette.colour(0));
    EXPECT_EQ(palette.colour(250), palette.colour(100));
    EXPECT_EQ(palette.colour(-7), palette.colour(0));
}

}  // namespace
