#include "editor/view/ScrollBarSettings.h"

#include "editor/view/FrequencyView.h"
#include "editor/win32/Win32.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/EditorPort.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wowfix {

namespace {

int toInt(double v) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(std::trunc(v), static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

// A centred view of half width `half` over 0 ... total.
ScrollBarSettings centredBar(int total, int half, int position) {
    ScrollBarSettings bar;
    if (total <= half) {
        bar.minimum = half;
        bar.maximum = half + 1;
        bar.page = 1;
        bar.position = half;
        bar.canScroll = false;
        return bar;
    }
    bar.minimum = std::max(half, 0);
    bar.maximum = total;
    // A view reaching to or past the end has the page of its half span.
    bar.page = std::max(total - position == half ? half - 1 : half, 1);
    bar.position = std::clamp(position, bar.minimum, bar.maximum);
    return bar;
}

}  // namespace

ScrollBarSettings timeBarSettings(const EditorView& view) {
    return centredBar(toInt(view.totalSamples), toInt(view.timeHalfSpan), toInt(view.timeCentre));
}

ScrollBarSettings frequencyBarSettings(const FrequencyView& view, int maxFrequency) {
    return centredBar(maxFrequency, view.halfSpan(), maxFrequency - view.centre());
}

ScrollBarSettings referenceBarSettings(const SpectrogramStore& store) {
    ScrollBarSettings bar;
    bar.minimum = toInt(store.bottomFrequency());
    bar.maximum = toInt(store.topFrequency());
    bar.page = 2;
    bar.position = std::clamp(toInt(store.topFrequency() + store.bottomFrequency() - store.referenceFrequency()),
                              bar.minimum, std::max(bar.minimum, bar.maximum));
    bar.canScroll = bar.maximum > bar.minimum;
    return bar;
}

int scrolledPosition(const ScrollBarSettings& bar, int request, int trackPosition, bool vertical) {
    long long p = bar.position;
    switch (request) {
    case SB_LINEUP: p -= vertical ? bar.page / 2 : 1; break;
    case SB_LINEDOWN: p += vertical ? bar.page / 2 : 100; break;
    case SB_PAGEUP: p -= bar.page; break;
    case SB_PAGEDOWN: p += bar.page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: p = trackPosition; break;
    default: break;
    }
    return static_cast<int>(std::clamp<long long>(p, bar.minimum, std::max(bar.minimum, bar.maximum)));
}

}  // namespace wowfix
