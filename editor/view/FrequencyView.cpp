#include "editor/view/FrequencyView.h"

#include "spectral/SpectrogramStore.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

bool FrequencyView::show(SpectrogramStore& store, double lo, double hi) {
    const double low = store.minFrequency();
    const double high = std::trunc(store.maxFrequency());
    // Whole hertz round a band of whole bins down: never narrower than the
    // store's minimum.
    const double width = std::max(hi - lo, static_cast<double>(store.minFrequencySpan()));
    if (!std::isfinite(width) || width > high - low) return false;
    hi = lo + width;
    if (lo < low) {
        lo = low;
        hi = lo + width;
    }
    if (hi > high) {
        hi = high;
        lo = std::max(hi - width, low);
    }
    store.setFrequencyRange(static_cast<float>(lo), static_cast<float>(hi));
    fromBounds(store);
    return true;
}

void FrequencyView::zoomIn(SpectrogramStore& store) {
    int half = halfSpan_ / 2;
    const int minimum = static_cast<int>(store.minFrequencySpan());
    if (2 * half < minimum) half = minimum / 2 + 1;
    show(store, centre_ - half, centre_ + half);
}

void FrequencyView::zoomOut(SpectrogramStore& store) {
    const double lo = std::max(static_cast<double>(centre_) - 2.0 * halfSpan_, 0.0);
    const double hi = std::min(static_cast<double>(centre_) + 2.0 * halfSpan_, std::trunc(static_cast<double>(store.maxFrequency())));
    show(store, lo, hi);
}

bool FrequencyView::scrollTo(SpectrogramStore& store, int centre) {
    return show(store, static_cast<double>(centre) - halfSpan_, static_cast<double>(centre) + halfSpan_);
}

void FrequencyView::fromBounds(const SpectrogramStore& store) {
    const double a = store.bottomFrequency();
    const double b = store.topFrequency();
    const double half = (b - a) / 2.0;
    centre_ = static_cast<int>(std::trunc(a + half));
    halfSpan_ = static_cast<int>(std::trunc(half));
}

}  // namespace wowfix
