#pragma once
// A 5 × 7 dot font for the labels of plots: digits, a few signs and the
// letters that axis titles need. Unknown characters draw as blanks.

namespace wowfix::meter {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;

// Row r (0 = top) of the glyph of `c`: bit 4 is the leftmost dot.
unsigned glyphRow(char c, int row);

}  // namespace wowfix::meter
