#include "tools/meter/DeviationPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/meter/TinyFont.h"

namespace wowfix::meter {

namespace {

constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kAxis{0, 0, 0};
constexpr Rgb kGrid{225, 225, 225};
constexpr Rgb kTotal{20, 40, 150};
constexpr Rgb kDrift{230, 120, 0};
constexpr int kLeft = 80, kRight = 20, kTop = 30, kBottom = 45;

struct Frame {
    int x0, y0, x1, y1;  // the plot area, inclusive
    double t0, t1, v0, v1;
    int x(double t) const { return x0 + static_cast<int>(std::lround((t - t0) / (t1 - t0) * (x1 - x0))); }
    int y(double v) const { return y1 - static_cast<int>(std::lround((v - v0) / (v1 - v0) * (y1 - y0))); }
};

// Each pixel column shows the range of the points in it, joined to the
// previous column, so that fast flutter reads as a band rather than aliasing.
void drawSeries(RgbImage& image, const Frame& f, const std::vector<double>& values, double rate, double start,
                Rgb colour) {
    if (values.empty()) return;
    int previousY = f.y(100.0 * values.front());
    const std::size_t n = values.size();
    for (int x = f.x0; x <= f.x1; ++x) {
        const double ta = f.t0 + (x - f.x0) * (f.t1 - f.t0) / (f.x1 - f.x0 + 1);
        const double tb = f.t0 + (x - f.x0 + 1) * (f.t1 - f.t0) / (f.x1 - f.x0 + 1);
        const long ia = std::max(0L, static_cast<long>(std::floor((ta - start) * rate)));
        const long ib = std::min(static_cast<long>(n), static_cast<long>(std::ceil((tb - start) * rate)));
        if (ia >= ib) continue;
        double low = values[static_cast<std::size_t>(ia)];
        double high = low;
        for (long i = ia; i < ib; ++i) {
            low = std::min(low, values[static_cast<std::size_t>(i)]);
            high = std::max(high, values[static_cast<std::size_t>(i)]);
        }
        const int yLow = f.y(100.0 * low);
        const int yHigh = f.y(100.0 * high);
        image.line(x, previousY, x, std::clamp(previousY, yHigh, yLow), colour);
        image.line(x, yHigh, x, yLow, colour);
        previousY = f.y(100.0 * values[static_cast<std::size_t>(ib - 1)]);
    }
}

}  // namespace

double niceStep(double span, int most) {
    if (!(span > 0.0)) return 1.0;
    const double raw = span / most;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decade >= raw) return m * decade;
    return 10.0 * decade;
}

std::string tickLabel(double value, double step) {
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    char text[32];
    std::snprintf(text, sizeof(text), "%.*f", decimals, std::fabs(value) < 0.5 * step ? 0.0 : value);
    return text;
}

RgbImage plotDeviation(const DeviationBands& bands, int width, int height) {
    RgbImage image(width, height, kBackground);
    Frame f{kLeft, kTop, width - 1 - kRight, height - 1 - kBottom, 0.0, 1.0, -0.001, 0.001};
    // The deviation up to the meter's upper limit: drift plus unweighted.
    std::vector<double> deviation(bands.slow.size());
    for (std::size_t i = 0; i < deviation.size() && i < bands.unweighted.size(); ++i)
        deviation[i] = bands.slow[i] + bands.unweighted[i];
    const std::size_t n = deviation.size();
    if (n > 0 && bands.rate > 0.0) {
        f.t0 = bands.startTime;
        f.t1 = bands.startTime + static_cast<double>(n) / bands.rate;
        double low = 0.0, high = 0.0;
        const std::vector<double>* const shown[] = {&deviation, &bands.slow};
        for (const std::vector<double>* series : shown)
            for (double v : *series) {
                low = std::min(low, 100.0 * v);
                high = std::max(high, 100.0 * v);
            }
        const double margin = std::max(0.05 * (high - low), 1e-4);
        f.v0 = low - margin;
        f.v1 = high + margin;
    }

    // Grid and tick labels.
    const double vStep = niceStep(f.v1 - f.v0, 8);
    for (double v = std::ceil(f.v0 / vStep) * vStep; v <= f.v1; v += vStep) {
        const int y = f.y(v);
        image.line(f.x0, y, f.x1, y, kGrid);
        const std::string label = tickLabel(v, vStep);
        image.text(f.x0 - 8 - static_cast<int>(label.size()) * kGlyphAdvance, y - kGlyphHeight / 2, label, kAxis);
    }
    const double tStep = niceStep(f.t1 - f.t0, 10);
    for (double t = std::ceil(f.t0 / tStep) * tStep; t <= f.t1; t += tStep) {
        const int x = f.x(t);
        image.line(x, f.y0, x, f.y1, kGrid);
        const std::string label = tickLabel(t, tStep);
        image.text(x - static_cast<int>(label.size()) * kGlyphAdvance / 2, f.y1 + 8, label, kAxis);
    }
    if (f.v0 < 0.0 && f.v1 > 0.0) image.line(f.x0, f.y(0.0), f.x1, f.y(0.0), kAxis);

    drawSeries(image, f, deviation, bands.rate, bands.startTime, kTotal);
    drawSeries(image, f, bands.slow, bands.rate, bands.startTime, kDrift);

    // Axes and titles.
    image.line(f.x0, f.y0, f.x0, f.y1, kAxis);
    image.line(f.x0, f.y1, f.x1, f.y1, kAxis);
    image.text(f.x0, 10, "speed deviation (%)", kTotal);
    image.text(f.x0 + 22 * kGlyphAdvance, 10, "drift", kDrift);
    image.text((f.x0 + f.x1) / 2 - 4 * kGlyphAdvance, height - 16, "time (s)", kAxis);
    return image;
}

}  // namespace wowfix::meter
