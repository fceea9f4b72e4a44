// The editor window's commands of the zoom options, the PVC tool panel and
// the linear/logarithmic switch.
#include "editor/EditorWindow.h"

#include "editor/view/ViewLabels.h"
#include "host/HeadlessEditor.h"
#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "pvc/PvcCurve.h"
#include "spectral/SpectrogramStore.h"

namespace wowfix {

namespace {

bool checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

void EditorWindow::enableToolButtons(bool enable) {
    for (int id : {67, 68, 69}) EnableWindow(control(id), enable ? TRUE : FALSE);
}

bool EditorWindow::toolCommand(int id) {
    HeadlessEditor& headless = owner_->headlessEditor();
    switch (id) {
    case 61: {
        EditorView& view = headless.view();
        const LRESULT entry = SendMessageA(control(control::kResolution), CB_GETCURSEL, 0, 0);
        const LRESULT window = SendMessageA(control(control::kWindowing), CB_GETCURSEL, 0, 0);
        const int resolution = entry >= 0 && entry < 7 ? 64 << entry : view.resolution;
        const int windowIndex = window >= 0 && window < 4 ? static_cast<int>(window) : view.windowIndex;
        if (resolution == view.resolution && windowIndex == view.windowIndex) return true;
        view.resolution = resolution;
        view.windowIndex = windowIndex;
        owner_->taskState().settingsChanged = true;
        headless.requestTask(kViewAcquisition);
        setTaskMode(algorithm_);
        return true;
    }
    case 65:
        showPoints_ = checked(control(id));
        if (!showPoints_ && moveMode_) {
            moveMode_ = false;
            SendMessageA(control(66), BM_SETCHECK, BST_UNCHECKED, 0);
            enableToolButtons(true);
        }
        EnableWindow(control(66), showPoints_ ? TRUE : FALSE);
        drawCurve();
        return true;
    case 66:
        if (checked(control(id))) {
            tool_ = 1;
            owner_->curve().markNewSnapshot();
            moveMode_ = true;
            enableToolButtons(false);
        } else {
            moveMode_ = false;
            enableToolButtons(true);
            if (checked(control(67))) tool_ = 5;
            if (checked(control(68))) tool_ = 6;
            if (checked(control(69))) tool_ = 3;
        }
        return true;
    case 67:
    case 68:
    case 69:
        tool_ = id == 67 ? 5 : id == 68 ? 6 : 3;
        owner_->curve().markNewSnapshot();
        return true;
    case 100:
    case 101: setLinearScale(id == 100); return true;
    default: return false;
    }
}

void EditorWindow::setLinearScale(bool linear) {
    if (linear == linearScale_) return;
    HeadlessEditor& headless = owner_->headlessEditor();
    linearScale_ = linear;
    const int shown = linear ? SW_SHOW : SW_HIDE;
    ShowWindow(control(control::kAlgorithmSelector), shown);
    for (int id : {96, 97, 98, 99}) ShowWindow(control(id), shown);
    if (!linear) {
        previousAlgorithm_ = algorithm_;
        savedTool_ = tool_;
        tool_ = -1;
        showAlgorithmPanel(-1);
        enableViewControls(false, true);
        algorithm_ = 0;
        headless.requestTask(kViewAcquisition);
        setTaskMode(0);
        if (owner_->spectrogram().bottomFrequency() < 1.0f) SetWindowTextA(control(20), "1");
        return;
    }
    tool_ = savedTool_;
    algorithm_ = previousAlgorithm_;
    showAlgorithmPanel(algorithm_);
    headless.requestTask(kViewAcquisition);
    setTaskMode(algorithm_);
    showFrequencyLabels();
}

}  // namespace wowfix
