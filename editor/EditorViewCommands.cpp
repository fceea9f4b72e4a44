// The editor window's view commands: zoom buttons, the zoom rectangle, the
// three view scroll bars and the time and frequency labels.
#include "editor/ControlValues.h"
#include "editor/EditorWindow.h"

#include "editor/view/ScrollBarSettings.h"
#include "editor/view/TimeView.h"
#include "editor/view/ViewLabels.h"
#include "host/HeadlessEditor.h"
#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "pvc/PvcCurve.h"
#include "spectral/SpectrogramStore.h"

#include <cmath>

namespace wowfix {

namespace {

void writeBar(HWND bar, const ScrollBarSettings& s) {
    if (bar == nullptr) return;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, s.minimum, s.maximum,
                    static_cast<UINT>(s.page), s.position, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

}  // namespace

void EditorWindow::showTimeLabels(double start, double end) {
    const double fs = owner_->spectrogram().sampleRate();
    setText(control(21), timeLabel(start, fs));
    setText(control(22), timeLabel(end, fs));
}

void EditorWindow::showFrequencyLabels() {
    const SpectrogramStore& store = owner_->spectrogram();
    const double bottom = store.bottomFrequency();
    setText(control(20), frequencyLabel(!linearScale_ && bottom < 1.0 ? 1.0 : bottom));
    setText(control(19), frequencyLabel(store.topFrequency()));
}

void EditorWindow::updateTimeBar() { writeBar(control(13), timeBarSettings(owner_->headlessEditor().view())); }

void EditorWindow::updateFrequencyBar() {
    const int top = static_cast<int>(std::trunc(owner_->spectrogram().maxFrequency()));
    writeBar(control(12), frequencyBarSettings(frequencyView_, top));
}

void EditorWindow::updateReferenceBar() { writeBar(control(11), referenceBarSettings(owner_->spectrogram())); }

void EditorWindow::frequencyChanged() {
    owner_->curve().layout(owner_->spectrogram());
    redrawAll();
    updateReferenceBar();
    updateFrequencyBar();
    showFrequencyLabels();
}

void EditorWindow::timeRequested() {
    HeadlessEditor& headless = owner_->headlessEditor();
    updateTimeBar();
    TimeView time(headless.view());
    if (time.wholeRequested())
        showTimeLabels(0, headless.view().totalSamples);
    else
        showTimeLabels(time.requestedStart(), time.requestedEnd());
    // The pass comes with the host's next notification; the mode the user
    // works in is back once it is asked for.
    headless.requestTask(kViewAcquisition);
    setTaskMode(algorithm_);
}

void EditorWindow::frequencyViewChanged() {
    if (!onWindowThread()) {
        taskDrawing_.frequencyViewChanged();
        return;
    }
    if (!isOpen()) return;
    frequencyView_.fromBounds(owner_->spectrogram());
    updateFrequencyBar();
    updateReferenceBar();
    showFrequencyLabels();
}

void EditorWindow::timeViewChanged() {
    if (!onWindowThread()) {
        taskDrawing_.timeViewChanged();
        return;
    }
    if (!isOpen()) return;
    const EditorView& view = owner_->headlessEditor().view();
    updateTimeBar();
    showTimeLabels(view.viewOrigin, view.viewOrigin + view.viewLength);
}

bool EditorWindow::viewCommand(int id) {
    SpectrogramStore& store = owner_->spectrogram();
    EditorView& view = owner_->headlessEditor().view();
    TimeView time(view);
    switch (id) {
    case 14: frequencyView_.zoomIn(store); frequencyChanged(); return true;
    case 15: frequencyView_.zoomOut(store); frequencyChanged(); return true;
    case 16: time.zoomOut(); timeRequested(); return true;
    case 17: time.zoomIn(store.minSampleSpan()); timeRequested(); return true;
    case 98:
        frequencyView_.zoomIn(store);
        frequencyChanged();
        time.zoomIn(store.minSampleSpan());
        timeRequested();
        return true;
    case 99:
        frequencyView_.zoomOut(store);
        frequencyChanged();
        time.zoomOut();
        timeRequested();
        return true;
    case 97:
        if (moveMode_) return true;
        if (algorithm_ == kLibraryDetection && owner_->usesRuntimeLibrary()) {
            owner_->setUseRuntimeLibrary(false);
            if (store.fftLength() != view.resolution) owner_->taskState().settingsChanged = true;
        }
        time.requestWhole();
        if (zoomFrequencyEnabled_) store.resetFrequencyZoom();
        if (zoomFrequencyEnabled_ || zoomTimeEnabled_) frequencyChanged();
        timeRequested();
        return true;
    case 57:
        zoomFrequencyEnabled_ = SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        return true;
    case 58:
        zoomTimeEnabled_ = SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        return true;
    default: return false;
    }
}

void EditorWindow::scroll(HWND bar, int request) {
    const LONG_PTR id = GetWindowLongPtrA(bar, GWLP_ID);
    if (id < 0 || id >= control::kCount || bar != control(static_cast<int>(id))) return;
    const bool viewBar = id == 11 || id == 12 || id == 13;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(bar, SB_CTL, &info)) return;
    ScrollBarSettings settings{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos, true};
    const int position = scrolledPosition(settings, request, info.nTrackPos, id != 13);
    SCROLLINFO moved{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
    SetScrollInfo(bar, SB_CTL, &moved, TRUE);
    if (!viewBar) {
        parameterChanged(static_cast<int>(id));
        return;
    }
    SpectrogramStore& store = owner_->spectrogram();
    EditorView& view = owner_->headlessEditor().view();
    if (id == 11) {
        store.setReferenceFrequency(static_cast<float>(info.nMax - position + info.nMin));
        owner_->curve().layout(store);
        drawCurve();
    } else if (id == 12) {
        if (request == SB_ENDSCROLL) {
            frequencyChanged();
        } else if (frequencyView_.scrollTo(store, info.nMax - position)) {
            redrawAll();
            showFrequencyLabels();
        }
    } else {
        TimeView time(view);
        time.scrollTo(position);
        if (request == SB_ENDSCROLL)
            timeRequested();
        else
            showTimeLabels(time.requestedStart(), time.requestedEnd());
    }
}

void EditorWindow::zoomPress(int x, int y) {
    if (!isOpen() || moveMode_) return;
    const SpectrogramStore& store = owner_->spectrogram();
    zoomRectangle_.press(store.sampleAtColumn(x), store.frequencyAtRow(y));
}

void EditorWindow::zoomRelease(int x, int y) {
    if (!isOpen() || moveMode_ || !zoomRectangle_.pressed()) return;
    SpectrogramStore& store = owner_->spectrogram();
    EditorView& view = owner_->headlessEditor().view();
    const ZoomRectangle::Outcome outcome = zoomRectangle_.release(
        store.sampleAtColumn(x), store.frequencyAtRow(y), zoomTimeEnabled_, zoomFrequencyEnabled_, view,
        frequencyView_, store);
    if (outcome.whole || outcome.frequency) frequencyChanged();
    if (outcome.whole || outcome.time)
        timeRequested();
    else
        repaintPanel();
}

}  // namespace wowfix
