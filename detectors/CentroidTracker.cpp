#include "detectors/CentroidTracker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wowfix {
namespace {

// The window's constant, as the follower has always used it.
constexpr float kPi = 3.14159f;
constexpr int kLowestBin = 2;
constexpr int kMinLevel = 10;
constexpr int kMaxLevel = 20;

struct BinWindow {
    int lo;
    int hi;
};

// lo <= hi after ordering, lo raised to the lowest bin that counts.
BinWindow orderedWindow(int a, int b) {
    return {std::max(std::min(a, b), kLowestBin), std::max(a, b)};
}

std::optional<float> finiteOrNone(float value) {
    if (std::isfinite(value)) return value;
    return std::nullopt;
}

}  // namespace

std::optional<float> columnCentroid(const float* column, int bins, int a, int b) {
    if (column == nullptr || bins <= kLowestBin) return std::nullopt;
    const BinWindow w = orderedWindow(a, b);
    if (w.hi < w.lo || w.lo >= bins) return std::nullopt;
    if (w.hi == w.lo) {
        if (column[w.lo] > 0.0f) return static_cast<float>(w.lo);
        return std::nullopt;
    }
    const float lo = static_cast<float>(w.lo);
    const float hi = static_cast<float>(w.hi);
    const float S = std::log(hi * lo);
    const float D = std::log(hi / lo);
    float num = 0.0f;
    float den = 0.0f;
    const int last = std::min(w.hi, bins - 1);
    for (int k = w.lo; k <= last; ++k) {
        const float lnk = std::log(static_cast<float>(k));
        const float weight = (std::cos((2.0f * lnk - S) * kPi / D) + 1.0f) * 0.5f;
        const float x = weight * column[k];
        num += lnk * x;
        den += x;
    }
    if (!(den > 0.0f)) return std::nullopt;
    return finiteOrNone(std::exp(num / den));
}

std::optional<float> centroidSpread(const float* column, int bins, float centre, int a, int b) {
    if (column == nullptr || bins <= kLowestBin || !std::isfinite(centre)) return std::nullopt;
    const BinWindow w = orderedWindow(a, b);
    // Position k carries the power of bin k + 1.
    const int last = std::min(w.hi, bins - 2);
    if (w.hi < w.lo || last < w.lo) return std::nullopt;
    if (w.hi == w.lo) {
        if (column[w.lo + 1] > 0.0f) return 0.0f;
        return std::nullopt;
    }
    const float span = static_cast<float>(w.hi - w.lo);
    const float middle = static_cast<float>(w.hi + w.lo);
    float num = 0.0f;
    float den = 0.0f;
    for (int k = w.lo; k <= last; ++k) {
        const float p = column[k + 1] * column[k + 1];
        const float weight = (std::cos((2.0f * static_cast<float>(k) - middle) * kPi / span) + 1.0f) * 0.5f * p;
        const float d = static_cast<float>(k) - centre;
        num += d * d * weight;
        den += weight;
    }
    if (!(den > 0.0f)) return std::nullopt;
    return finiteOrNone(num / den);
}

int trackCentroid(const float* const* columns, int columnCount, int bins, int startColumn, int count, int startBin,
                  float scale, float* out, int level) {
    if (count >= -1 && count <= 1) return 0;
    if (columns == nullptr || out == nullptr || columnCount < 1 || bins <= kLowestBin) return 0;
    if (!(scale > 0.0f) || !std::isfinite(scale)) return 0;
    const int tolerance = std::clamp(level, kMinLevel, kMaxLevel);
    const float lostSpread = 0.01f * static_cast<float>(tolerance * tolerance * tolerance);
    const int start = std::clamp(startColumn, 0, columnCount - 1);
    const int step = count > 0 ? 1 : -1;
    const long long entries = std::llabs(static_cast<long long>(count));
    // Columns that exist in the direction of the drag, the start included.
    const long long available = step > 0 ? columnCount - start : start + 1;
    const int followable = static_cast<int>(std::min(entries, available));

    const int bin = std::clamp(startBin, 0, bins - 1);
    const int h = static_cast<int>(std::trunc(static_cast<float>(bin) / 30.0f + 2.5f));
    int lo = bin - h;
    int hi = bin + h;
    float ref = 1.0f;
    int i = 0;
    for (; std::abs(i) < followable; i += step) {
        const float* column = columns[start + i];
        const std::optional<float> wide = columnCentroid(column, bins, lo - h, hi + h);
        if (!wide) break;
        const int centre = static_cast<int>(std::trunc(*wide));
        const std::optional<float> spread = centroidSpread(column, bins, *wide, centre - tolerance, centre + tolerance);
        if (!spread || *spread > lostSpread) break;
        lo = centre - h;
        hi = centre + h;
        const std::optional<float> refined = columnCentroid(column, bins, lo, hi);
        if (!refined) break;
        if (i == 0) ref = *refined / scale;
        const long long index = step > 0 ? i : entries - 1 + i;
        out[index] = *refined / ref;
    }
    return i;
}

}  // namespace wowfix
