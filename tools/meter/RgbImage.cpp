#include "tools/meter/RgbImage.h"

#include <cstdlib>

#include "tools/meter/TinyFont.h"

namespace wowfix::meter {

RgbImage::RgbImage(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height * 3) {
    for (std::size_t i = 0; i < pixels_.size(); i += 3) {
        pixels_[i] = background.r;
        pixels_[i + 1] = background.g;
        pixels_[i + 2] = background.b;
    }
}

Rgb RgbImage::pixel(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

void RgbImage::set(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    pixels_[i] = colour.r;
    pixels_[i + 1] = colour.g;
    pixels_[i + 2] = colour.b;
}

// Bresenham's line, both end points included.
void RgbImage::line(int x0, int y0, int x1, int y1, Rgb colour) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void RgbImage::text(int x, int y, const std::string& text, Rgb colour, int scale) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int left = x + static_cast<int>(i) * kGlyphAdvance * scale;
        for (int row = 0; row < kGlyphHeight; ++row) {
            const unsigned bits = glyphRow(text[i], row);
            for (int column = 0; column < kGlyphWidth; ++column)
                if (bits & (0x10u >> column))
                    for (int a = 0; a < scale; ++a)
                        for (int b = 0; b < scale; ++b) set(left + column * scale + a, y + row * scale + b, colour);
        }
    }
}

}  // namespace wowfix::meter
