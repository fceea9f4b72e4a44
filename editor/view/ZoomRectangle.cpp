#include "editor/view/ZoomRectangle.h"

#include "editor/view/FrequencyView.h"
#include "editor/view/TimeView.h"
#include "spectral/SpectrogramStore.h"

#include <cmath>

namespace wowfix {

void ZoomRectangle::press(int sample, float frequency) {
    pressed_ = true;
    pressSample_ = sample;
    pressFrequency_ = frequency;
}

ZoomRectangle::Outcome ZoomRectangle::release(int sample, float frequency, bool zoomTime, bool zoomFrequency,
                                              EditorView& view, FrequencyView& frequencies,
                                              SpectrogramStore& store) {
    Outcome outcome;
    if (!pressed_) return outcome;
    pressed_ = false;
    const int d = sample - pressSample_;
    TimeView time(view);
    if (d < 0) {
        time.requestWhole();
        if (zoomFrequency) store.resetFrequencyZoom();
        if (zoomFrequency || zoomTime) frequencies.fromBounds(store);
        outcome.whole = true;
        return outcome;
    }
    if (d == 0) return outcome;
    if (zoomFrequency && std::fabs(frequency - pressFrequency_) > store.minFrequencySpan()) {
        store.setFrequencyRange(frequency, pressFrequency_);
        frequencies.fromBounds(store);
        outcome.frequency = true;
    }
    if (zoomTime) {
        const int minimum = store.minSampleSpan();
        time.requestRange(view.viewOrigin + pressSample_, view.viewOrigin + sample, minimum);
        outcome.time = d > minimum;
    }
    return outcome;
}

}  // namespace wowfix
