#pragma once

namespace wowfix {

class FrequencyView;
class SpectrogramStore;
struct EditorView;

// The zoom rectangle dragged over the panel: pressed at one sample (relative
// to the shown viewOrigin) and frequency, released at another. Dragging to
// the left asks for the whole selection; to the right it zooms each enabled
// axis whose span exceeds the store's minimum.
class ZoomRectangle {
public:
    struct Outcome {
        bool whole = false;      // the whole selection and frequency range asked for
        bool time = false;       // a new time range is requested from the next pass
        bool frequency = false;  // the store shows a new band already
    };

    void press(int sample, float frequency);
    bool pressed() const { return pressed_; }
    int pressSample() const { return pressSample_; }
    float pressFrequency() const { return pressFrequency_; }
    // Ends the drag; nothing changes when no press came first.
    Outcome release(int sample, float frequency, bool zoomTime, bool zoomFrequency, EditorView& view,
                    FrequencyView& frequencies, SpectrogramStore& store);

private:
    bool pressed_ = false;
    int pressSample_ = 0;
    float pressFrequency_ = 0.0f;
};

}  // namespace wowfix
