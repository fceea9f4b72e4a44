#include "hostsim/cli/CurvePlot.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "hostsim/curve/Fft.h"
#include "hostsim/curve/UniformCurve.h"
#include "tools/meter/DeviationPlot.h"
#include "tools/meter/TinyFont.h"

namespace wowfix::hostsim {

namespace {

using meter::Rgb;
using meter::RgbImage;

constexpr Rgb kAxis{0, 0, 0};
constexpr Rgb kGrid{225, 225, 225};
constexpr Rgb kMeasured{20, 40, 150};
constexpr Rgb kTrue{230, 120, 0};
constexpr double kHighestShownHz = 50.0;

struct Series {
    std::vector<double> x;
    std::vector<double> y;
};

struct Panel {
    int x0, y0, x1, y1;
    double u0, u1, v0, v1;
    int px(double u) const { return x0 + static_cast<int>(std::lround((u - u0) / (u1 - u0) * (x1 - x0))); }
    int py(double v) const {
        return y1 - static_cast<int>(std::lround((std::clamp(v, v0, v1) - v0) / (v1 - v0) * (y1 - y0)));
    }
};

// The deviation in percent on the curve's grid.
Series deviation(const curve::SpeedCurve& c, double rate) {
    Series s;
    const curve::UniformCurve u = curve::sampleUniform(c, curve::naturalStep(c));
    for (std::size_t i = 0; i < u.values.size(); ++i) {
        s.x.push_back(static_cast<double>(u.positionOf(i)) / rate);
        s.y.push_back(100.0 * (u.values[i] - 1.0));
    }
    return s;
}

// Peak amplitude (percent) per frequency of the deviation less its mean,
// Hann-windowed, up to `highest` Hz.
Series spectrum(const Series& d, double highest) {
    Series s;
    const std::size_t n = d.y.size();
    if (n < 4) return s;
    const double step = (d.x.back() - d.x.front()) / static_cast<double>(n - 1);
    if (!(step > 0.0)) return s;
    double mean = 0.0;
    for (double v : d.y) mean += v;
    mean /= static_cast<double>(n);
    const std::size_t size = curve::nextPowerOfTwo(2 * n);
    std::vector<std::complex<double>> x(size, 0.0);
    double windowSum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / static_cast<double>(n - 1));
        x[i] = w * (d.y[i] - mean);
        windowSum += w;
    }
    curve::transform(x, false);
    for (std::size_t k = 0; k <= size / 2; ++k) {
        const double f = static_cast<double>(k) / (step * static_cast<double>(size));
        if (f > highest) break;
        s.x.push_back(f);
        s.y.push_back(2.0 * std::abs(x[k]) / windowSum);
    }
    return s;
}

void drawGrid(RgbImage& image, const Panel& p, const std::string& xTitle, const std::string& yTitle) {
    const double vStep = meter::niceStep(p.v1 - p.v0, 6);
    for (double v = std::ceil(p.v0 / vStep) * vStep; v <= p.v1 + 1e-12; v += vStep) {
        const int y = p.py(v);
        image.line(p.x0, y, p.x1, y, kGrid);
        const std::string label = meter::tickLabel(v, vStep);
        image.text(p.x0 - 8 - static_cast<int>(label.size()) * meter::kGlyphAdvance, y - meter::kGlyphHeight / 2,
                   label, kAxis);
    }
    const double uStep = meter::niceStep(p.u1 - p.u0, 10);
    for (double u = std::ceil(p.u0 / uStep) * uStep; u <= p.u1 + 1e-12; u += uStep) {
        const int x = p.px(u);
        image.line(x, p.y0, x, p.y1, kGrid);
        const std::string label = meter::tickLabel(u, uStep);
        image.text(x - static_cast<int>(label.size()) * meter::kGlyphAdvance / 2, p.y1 + 8, label, kAxis);
    }
    if (p.v0 < 0.0 && p.v1 > 0.0) image.line(p.x0, p.py(0.0), p.x1, p.py(0.0), kAxis);
    image.line(p.x0, p.y0, p.x0, p.y1, kAxis);
    image.line(p.x0, p.y1, p.x1, p.y1, kAxis);
    image.text(p.x0, p.y0 - 16, yTitle, kAxis);
    image.text((p.x0 + p.x1) / 2 - static_cast<int>(xTitle.size()) * meter::kGlyphAdvance / 2, p.y1 + 22, xTitle,
               kAxis);
}

void drawSeries(RgbImage& image, const Panel& p, const Series& s, Rgb colour) {
    for (std::size_t i = 1; i < s.x.size(); ++i)
        image.line(p.px(s.x[i - 1]), p.py(s.y[i - 1]), p.px(s.x[i]), p.py(s.y[i]), colour);
}

void range(const std::vector<const Series*>& all, double& u0, double& u1, double& v0, double& v1, bool fromZero) {
    u0 = 1e300, u1 = -1e300, v0 = fromZero ? 0.0 : 1e300, v1 = -1e300;
    for (const Series* s : all)
        for (std::size_t i = 0; i < s->x.size(); ++i) {
            u0 = std::min(u0, s->x[i]);
            u1 = std::max(u1, s->x[i]);
            v0 = std::min(v0, s->y[i]);
            v1 = std::max(v1, s->y[i]);
        }
    if (!(u1 > u0)) u0 = 0.0, u1 = std::max(u1, 0.0) + 1.0;
    if (!(v1 > v0)) v0 = (v0 > 1e299 ? 0.0 : v0) - 0.01, v1 = v0 + 0.02;
    const double margin = 0.05 * (v1 - v0);
    v1 += margin;
    if (!fromZero) v0 -= margin;
}

}  // namespace

RgbImage plotCurve(const curve::SpeedCurve& measured, const curve::SpeedCurve* truth, double sampleRate) {
    RgbImage image(kCurvePlotWidth, kCurvePlotHeight, Rgb{255, 255, 255});
    const Series d = deviation(measured, sampleRate);
    const double gridRate = sampleRate / static_cast<double>(curve::naturalStep(measured));
    const double highest = std::min(kHighestShownHz, 0.5 * gridRate);
    const Series ds = spectrum(d, highest);
    Series t, ts;
    if (truth != nullptr) {
        t = deviation(*truth, sampleRate);
        ts = spectrum(t, highest);
    }
    std::vector<const Series*> time = {&d}, freq = {&ds};
    if (truth != nullptr) time.push_back(&t), freq.push_back(&ts);

    Panel top{80, 40, kCurvePlotWidth - 20, 330, 0, 1, 0, 1};
    range(time, top.u0, top.u1, top.v0, top.v1, false);
    Panel bottom{80, 400, kCurvePlotWidth - 20, kCurvePlotHeight - 50, 0, highest, 0, 1};
    double ignored0 = 0.0, ignored1 = 0.0;
    range(freq, ignored0, ignored1, bottom.v0, bottom.v1, true);
    bottom.u0 = 0.0;
    bottom.u1 = highest;

    drawGrid(image, top, "time (s)", "speed deviation (%)");
    drawGrid(image, bottom, "rate of the wow (per s)", "amplitude (%)");
    if (truth != nullptr) {
        drawSeries(image, top, t, kTrue);
        drawSeries(image, bottom, ts, kTrue);
        image.text(kCurvePlotWidth - 200, 10, "true", kTrue);
    }
    drawSeries(image, top, d, kMeasured);
    drawSeries(image, bottom, ds, kMeasured);
    image.text(kCurvePlotWidth - 150, 10, "measured", kMeasured);
    return image;
}

}  // namespace wowfix::hostsim
