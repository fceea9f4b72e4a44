#pragma once

namespace wowfix {

// What a running task shows in the editor's window, when one is open: the
// spectrogram columns as they are computed, the curve, and the progress bar.
class PanelDrawing {
public:
    virtual ~PanelDrawing() = default;
    virtual void drawColumn(int column) = 0;
    virtual void drawCurve() = 0;
    virtual void drawCurveWithBounds(int lowerRow, int upperRow) = 0;
    virtual void showProgress(double percent) = 0;
    // The view's frequency band or time range changed: scroll bars and
    // labels follow.
    virtual void frequencyViewChanged() {}
    virtual void timeViewChanged() {}
};

}  // namespace wowfix
