#pragma once
// A small 24-bit raster with the drawing that a line plot needs.

#include <cstdint>
#include <string>
#include <vector>

namespace wowfix::meter {

struct Rgb {
    std::uint8_t r, g, b;
};

class RgbImage {
public:
    RgbImage(int width, int height, Rgb background);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }  // rows top to bottom, RGB
    Rgb pixel(int x, int y) const;

    // Points outside the image are left out.
    void set(int x, int y, Rgb colour);
    void line(int x0, int y0, int x1, int y1, Rgb colour);
    // Text in the 5 × 7 font of TinyFont, `scale` pixels per font dot, the
    // top-left corner at (x, y).
    void text(int x, int y, const std::string& text, Rgb colour, int scale = 1);

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace wowfix::meter
