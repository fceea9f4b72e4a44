#pragma once

namespace wowfix {

class UndoHistory;

// The editor's view fields that the acquisition tasks read and set.
struct EditorView {
    double viewOrigin = 0.0;    // first frame of the view in the file
    double viewLength = 0.0;    // frames shown
    double totalSamples = 0.0;  // frames of the file
    double timeCentre = 0.0;
    double timeHalfSpan = 0.0;
    double rangeStart = 0.0;    // requested range, relative to viewOrigin;
    double rangeEnd = 0.0;      // end <= start asks for the whole file
    int resolution = 4096;      // transform length chosen in the editor
    int windowIndex = 2;        // window function chosen in the editor
    int panelWidth = 670;       // spectrogram panel in pixels; the store
    int panelHeight = 260;      // gets width - 2 columns, height - 1 rows
};

// What a running task asks of the editor: the view, drawing a finished
// spectrogram column or the curve, updating the view's scales, and the
// progress bar. The tasks call it from the thread the host runs them on.
class EditorPort {
public:
    virtual ~EditorPort() = default;

    virtual EditorView& view() = 0;

    // The store has just completed column `column`.
    virtual void drawColumn(int column) = 0;
    // The curve has been laid out anew over the view.
    virtual void drawCurve() = 0;
    // The same, with the rows of a filter band's bounds marked (the hum
    // preview); a panel that cannot mark them just draws the curve.
    virtual void drawCurveWithBounds(int /*lowerRow*/, int /*upperRow*/) { drawCurve(); }
    // The frequency band or the time range of the view changed: frequency
    // view, scroll bars and labels follow the store and the view fields.
    virtual void frequencyViewChanged() = 0;
    virtual void timeViewChanged() = 0;
    // percent >= 0 shows the progress bar at that value; negative hides it.
    virtual void showProgress(double percent) = 0;
    // The undo history of the open file; nullptr when there is none.
    virtual UndoHistory* undoHistory() = 0;
};

}  // namespace wowfix
