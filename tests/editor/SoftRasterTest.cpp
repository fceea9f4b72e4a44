// The software raster draws what GDI draws: the raster operations, the pens'
// patterns and the left-out end pixels, opaque text, and clipping.

#include "editor/win32/SoftInput.h"
#include "editor/win32/SoftObjects.h"
#include "editor/win32/Win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class Raster : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(nullptr, 40, 20);
        previous = SelectObject(dc, bitmap);
        fill(dc, kWhite);
    }
    void TearDown() override {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    static void fill(HDC target, COLORREF colour) {
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) SetPixel(target, x, y, colour);
    }
    int count(int y, COLORREF colour) const {
        int n = 0;
        for (int x = 0; x < 40; ++x) n += GetPixel(dc, x, y) == colour;
        return n;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST_F(Raster, SrcAndKeepsTheTargetUnderWhiteAndCombinesBitsElsewhere) {
    HDC other = CreateCompatibleDC(dc);
    HBITMAP overlay = CreateCompatibleBitmap(dc, 40, 20);
    HGDIOBJ old = SelectObject(other, overlay);
    fill(other, kWhite);
    SetPixel(other, 3, 3, RGB(0x0F, 0xF0, 0x55));
    SetPixel(dc, 3, 3, RGB(0x3C, 0x3C, 0xFF));
    SetPixel(dc, 5, 5, RGB(12, 34, 56));
    ASSERT_TRUE(BitBlt(dc, 0, 0, 40, 20, other, 0, 0, SRCAND));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0x0C, 0x30, 0x55));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(12, 34, 56));  // white is transparent
    EXPECT_EQ(GetPixel(dc, 0, 0), kWhite);
    ASSERT_TRUE(BitBlt(dc, 0, 0, 40, 20, other, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 5, 5), kWhite);
    SelectObject(other, old);
    DeleteDC(other);
    DeleteObject(overlay);
}

TEST_F(Raster, LinesAndRectanglesLeaveOutTheirEndPixel) {
    MoveToEx(dc, 2, 1, nullptr);
    LineTo(dc, 12, 1);
    EXPECT_EQ(GetPixel(dc, 2, 1), kBlack);
    EXPECT_EQ(GetPixel(dc, 11, 1), kBlack);
    EXPECT_EQ(GetPixel(dc, 12, 1), kWhite);
    EXPECT_EQ(count(1, kBlack), 10);
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    HGDIOBJ oldBrush = SelectObject(dc, grey);
    Rectangle(dc, 5, 5, 12, 12);  // outline 5 ... 11, fill inside
    EXPECT_EQ(GetPixel(dc, 5, 5), kBlack);
    EXPECT_EQ(GetPixel(dc, 11, 11), kBlack);
    EXPECT_EQ(GetPixel(dc, 12, 11), kWhite);
    EXPECT_EQ(GetPixel(dc, 11, 12), kWhite);
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(128, 128, 128));
    SelectObject(dc, oldBrush);
    DeleteObject(grey);
}

TEST_F(Raster, DottedPensFillTheirGapsOnlyWhenTheBackgroundIsOpaque) {
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF yellow = RGB(255, 255, 0);
    HPEN dotted = CreatePen(PS_DOT, 1, red);
    HGDIOBJ old = SelectObject(dc, dotted);
    SetBkColor(dc, yellow);
    SetBkMode(dc, OPAQUE);
    MoveToEx(dc, 0, 2, nullptr);
    LineTo(dc, 36, 2);
    EXPECT_EQ(count(2, red), 18);
    EXPECT_EQ(count(2, yellow), 18);
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, 0, 4, nullptr);
    LineTo(dc, 36, 4);
    EXPECT_EQ(count(4, red), 18);
    EXPECT_EQ(count(4, kWhite), 22);
    SelectObject(dc, old);
    DeleteObject(dotted);
    // Wider than one pixel a dotted pen draws solid.
    HPEN wide = CreatePen(PS_DOT, 3, red);
    old = SelectObject(dc, wide);
    MoveToEx(dc, 0, 10, nullptr);
    LineTo(dc, 30, 10);
    EXPECT_EQ(count(9, red), count(10, red));
    EXPECT_GE(count(10, red), 30);
    SelectObject(dc, old);
    DeleteObject(wide);
}

TEST_F(Raster, TextIsOpaqueUnlessTransparent) {
    SetBkColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, 0, 0, "ab", 2);
    int background = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 12; ++x) background += GetPixel(dc, x, y) == RGB(0, 0, 255);
    EXPECT_GT(background, 100);
    fill(dc, kWhite);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 0, 0, "ab", 2);
    int ink = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 12; ++x) {
            EXPECT_NE(GetPixel(dc, x, y), RGB(0, 0, 255));
            ink += GetPixel(dc, x, y) == kBlack;
        }
    EXPECT_GT(ink, 10);
}

TEST_F(Raster, DrawingOffTheBitmapIsClipped) {
    EXPECT_EQ(SetPixel(dc, -1, 5, kBlack), static_cast<COLORREF>(-1));
    EXPECT_EQ(SetPixel(dc, 40, 5, kBlack), static_cast<COLORREF>(-1));
    MoveToEx(dc, -100000, -5, nullptr);
    LineTo(dc, 100000, 25);
    Rectangle(dc, -50, -50, 500, 500);
    TextOutA(dc, 35, 15, "clipped text", 12);
    HDC other = CreateCompatibleDC(dc);
    HBITMAP small = CreateCompatibleBitmap(dc, 4, 4);
    HGDIOBJ old = SelectObject(other, small);
    EXPECT_TRUE(BitBlt(dc, 38, 18, 100, 100, other, -2, -2, SRCCOPY));
    EXPECT_TRUE(BitBlt(other, -3, -3, 100, 100, dc, 0, 0, SRCAND));
    SelectObject(other, old);
    DeleteDC(other);
    DeleteObject(small);
    // The rectangle's fill covered the whole bitmap; its outline lay outside.
    EXPECT_EQ(GetPixel(dc, 0, 0), kWhite);
}

}  // namespace

namespace {

// The rows and the rightmost column with black ink in columns [left, right).
struct Ink {
    std::vector<int> rows;
    int rightmost = -1;
};

Ink inkOf(const wowfix::soft::Picture& p, int left, int right) {
    Ink ink;
    for (int y = 0; y < p.height; ++y) {
        bool any = false;
        for (int x = left; x < right; ++x)
            if (p.pixels[static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)] == 0) {
                any = true;
                ink.rightmost = std::max(ink.rightmost, x - left);
            }
        if (any) ink.rows.push_back(y);
    }
    return ink;
}

TEST(StaticText, ALineBreakStartsASecondLineAsTheSystemsStaticsDo) {
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_VISIBLE, 0, 0, 120, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    CreateWindowExA(0, "STATIC", "ab", WS_CHILD | WS_VISIBLE, 0, 0, 60, 40, frame, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "ab\ncd", WS_CHILD | WS_VISIBLE, 60, 0, 60, 40, frame, nullptr, nullptr, nullptr);
    wowfix::soft::Picture picture;
    ASSERT_TRUE(wowfix::soft::takePicture(frame, picture));
    const Ink single = inkOf(picture, 0, 60);
    const Ink twoLines = inkOf(picture, 60, 120);
    ASSERT_FALSE(single.rows.empty());
    ASSERT_FALSE(twoLines.rows.empty());
    // Two bands of ink a text line apart, and no replacement glyph for the
    // break: "ab\ncd" is no wider than "ab".
    EXPECT_GE(twoLines.rows.back() - twoLines.rows.front(), 13);
    EXPECT_LT(single.rows.back() - single.rows.front(), 8);
    EXPECT_LE(twoLines.rightmost, single.rightmost);
    DestroyWindow(frame);
}

TEST(StaticText, WordsWrapAtTheBoxAndALeftNoWrapStaticKeepsOneLine) {
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_VISIBLE, 0, 0, 120, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    // Nine glyphs of six pixels fit a 56-pixel box: "aaaa bbbb" stays one
    // line, "aaaa bbbb cc" breaks before "cc"; without wrapping it is cut.
    CreateWindowExA(0, "STATIC", "aaaa bbbb cc", WS_CHILD | WS_VISIBLE, 0, 0, 56, 40, frame, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "aaaa bbbb cc", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 60, 0, 56, 40, frame,
                    nullptr, nullptr, nullptr);
    wowfix::soft::Picture picture;
    ASSERT_TRUE(wowfix::soft::takePicture(frame, picture));
    const Ink wrapped = inkOf(picture, 0, 56);
    const Ink cut = inkOf(picture, 60, 116);
    ASSERT_FALSE(wrapped.rows.empty());
    ASSERT_FALSE(cut.rows.empty());
    EXPECT_GE(wrapped.rows.back() - wrapped.rows.front(), 13);
    EXPECT_LT(cut.rows.back() - cut.rows.front(), 8);
    EXPECT_LT(wrapped.rightmost, 56);
    DestroyWindow(frame);

    const std::vector<std::string> lines = wowfix::soft::wrappedLines("one " + std::string(30, 'w') + " two\nthree", 60);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "one");
    EXPECT_EQ(lines[1], std::string(30, 'w'));
    EXPECT_EQ(lines[2], "two");
    EXPECT_EQ(lines[3], "three");
}

}  // namespace
