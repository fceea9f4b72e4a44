#pragma once

#include "tasks/EditorPort.h"

namespace wowfix {

// The requested time view: the range the next spectrogram pass is to read,
// in frames of the selection. The panel's own view (viewOrigin, viewLength)
// is set by the pass alone, so the tools keep placing points by the picture
// on the screen until the new one is there; the request lives in timeCentre,
// timeHalfSpan and the range relative to the shown viewOrigin.
class TimeView {
public:
    explicit TimeView(EditorView& view) : view_(view) {}

    // Half the width, never below minSampleSpan / 2 + 1, kept inside the file.
    void zoomIn(int minSampleSpan);
    // Twice the width, cut at both ends of the file.
    void zoomOut();
    // The same width centred at `centre`, shifted back inside the file.
    void scrollTo(double centre);
    // The next pass covers the whole selection.
    void requestWhole();
    // Frames minimum(start, end) ... maximum; a span not wider than
    // minSampleSpan asks for the current view again.
    void requestRange(double start, double end, int minSampleSpan);

    double requestedStart() const { return view_.viewOrigin + view_.rangeStart; }
    double requestedEnd() const { return view_.viewOrigin + view_.rangeEnd; }
    bool wholeRequested() const { return !(view_.rangeEnd > view_.rangeStart); }

private:
    // Centre and half span set, clamped into 0 ... totalSamples, and the
    // request written relative to the shown origin.
    void request(double centre, double halfSpan);

    EditorView& view_;
};

}  // namespace wowfix
