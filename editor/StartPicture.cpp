// The start picture: a calm spectrogram-like field in the palette's colours
// with one wavering tonal line across it, the subject of this plug-in, and a
// dark frame.

#include "editor/StartPicture.h"

#include <cmath>
#include <vector>

namespace wowfix {

namespace {

std::vector<std::uint8_t> drawStartPicture() {
    const int w = kStartPictureWidth;
    const int h = kStartPictureHeight;
    std::vector<std::uint8_t> bgr(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    const double pi = 3.14159265358979323846;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // A deep blue field, lighter towards the bottom (low frequencies).
            const double depth = static_cast<double>(y) / h;
            double r = 20 + 30 * depth;
            double g = 30 + 60 * depth;
            double b = 90 + 120 * depth;
            // A tone whose pitch wavers slowly (wow) and quickly (flutter).
            const double centre =
                h * 0.45 + 18.0 * std::sin(2 * pi * x / 335.0) + 4.0 * std::sin(2 * pi * x / 23.0);
            for (int harmonic = 1; harmonic <= 2; ++harmonic) {
                const double d = (y - (centre - (harmonic - 1) * 70.0)) / (3.0 / harmonic + 1.0);
                const double glow = std::exp(-d * d) * (harmonic == 1 ? 1.0 : 0.6);
                r += glow * (255 - r);
                g += glow * (235 - g);
                b += glow * (80 - b);
            }
            const bool frame = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            std::uint8_t* p = &bgr[(static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3];
            p[0] = frame ? 0 : static_cast<std::uint8_t>(b);
            p[1] = frame ? 0 : static_cast<std::uint8_t>(g);
            p[2] = frame ? 0 : static_cast<std::uint8_t>(r);
        }
    return bgr;
}

}  // namespace

const std::uint8_t* startPicturePixels() {
    static const std::vector<std::uint8_t> pixels = drawStartPicture();
    return pixels.data();
}

}  // namespace wowfix
