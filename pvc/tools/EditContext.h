#pragma once

namespace wowfix {

class PvcCurve;
class SpectrogramStore;
class UndoHistory;
struct EditArea;

// What an editing tool works on: the curve, the spectrogram it is drawn over,
// the undo history of the open file (null when there is none), the editor's
// processing area, where the panel's range begins in the curve's samples, and
// the panel's width in pixels.
//
// Panel column x shows store column x; row y shows store row y.
struct EditContext {
    PvcCurve& curve;
    const SpectrogramStore& store;
    UndoHistory* history;
    EditArea& area;
    int viewOffset;
    int panelWidth;
};

}  // namespace wowfix
