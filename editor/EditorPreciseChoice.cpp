// "Precise" on the pilot-tone and spectral-domain panels: the precise
// detectors in place of the plain ones, their four parameters on the panel's
// first four columns, and the buttons that run them.
//
// The plug-in's PreciseDetectors hold the choice; the box only shows it. The
// precise detectors are made (for the store's sample rate) only while no
// task runs, since a task may be using them.
#include "editor/ControlValues.h"
#include "editor/EditorWindow.h"
#include "editor/ParameterText.h"

#include "detectors/PreciseDetector.h"
#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "spectral/SpectrogramStore.h"

#include <array>

namespace wowfix {

namespace {

constexpr int kPreciseColumns = 4;
// The pilot-tone panel's first four columns, and the two the precise
// tracker does not use.
constexpr std::array<int, kPreciseColumns> kPilotCaptions{25, 26, 27, 28};
constexpr std::array<int, kPreciseColumns> kPilotBars{30, 31, 32, 33};
constexpr std::array<int, kPreciseColumns> kPilotValues{35, 36, 37, 38};
constexpr int kPilotUnused[] = {29, 34, 39, 103, 104, 105};
// The spectral-domain panel's first four columns; the fourth is shown only
// with the precise detector.
constexpr std::array<int, kPreciseColumns> kSpectralCaptions{81, 82, 83, 84};
constexpr std::array<int, kPreciseColumns> kSpectralBars{86, 87, 88, 89};
constexpr std::array<int, kPreciseColumns> kSpectralValues{91, 92, 93, 94};
constexpr int kSpectralFourth[] = {84, 89, 94};
// Every bar of the two plain panels.
constexpr int kPanelBars[] = {30, 31, 32, 33, 34, 104, 86, 87, 88, 89, 90};
constexpr int kPreview = 80;
constexpr int kCreatePvc = 40;
constexpr int kThresholdBar = 88;

bool hasPreciseDetector(int algorithm) { return algorithm == kPilotToneTracking || algorithm == kSpectralDetection; }

int columnOf(const std::array<int, kPreciseColumns>& ids, int id) {
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

// The precise detector of the panel, made for the store's rate; none while
// a task runs (it may be using it) or when it cannot be made (no rate yet).
PreciseDetector* panelDetector(OfflinePlugin& plugin, int algorithm) {
    if (plugin.busy()) return nullptr;
    return plugin.preciseDetectors().forAlgorithm(algorithm, plugin.spectrogram().sampleRate());
}

void show(HWND window, bool shown) { ShowWindow(window, shown ? SW_SHOW : SW_HIDE); }
void enable(HWND window, bool enabled) { EnableWindow(window, enabled ? TRUE : FALSE); }

}  // namespace

bool EditorWindow::preciseChosen() const {
    return hasPreciseDetector(algorithm_) && owner_->preciseDetectors().enabled();
}

void EditorWindow::dropPreciseChoice() {
    owner_->preciseDetectors().setEnabled(false);
    SendMessageA(control(control::kPrecise), BM_SETCHECK, BST_UNCHECKED, 0);
    // A panel opened anew waits for its own preview.
    plainCreateEnabled_ = plainThresholdEnabled_ = false;
}

void EditorWindow::preciseClicked() {
    HWND box = control(control::kPrecise);
    if (!hasPreciseDetector(algorithm_)) {
        SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    const bool ticked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (ticked == owner_->preciseDetectors().enabled()) return;
    owner_->preciseDetectors().setEnabled(ticked);
    switchPanelDetector(ticked);
}

void EditorWindow::switchPanelDetector(bool precise) {
    if (precise && algorithm_ == kSpectralDetection) {
        // What a preview had made usable comes back with the plain detector.
        plainCreateEnabled_ = IsWindowEnabled(control(kCreatePvc)) != FALSE;
        plainThresholdEnabled_ = IsWindowEnabled(control(kThresholdBar)) != FALSE;
    }
    showPreciseChoice();
    if (!precise && algorithm_ == kSpectralDetection) {
        enable(control(kCreatePvc), plainCreateEnabled_);
        enable(control(kThresholdBar), plainThresholdEnabled_);
    }
}

void EditorWindow::showPreciseChoice() {
    if (!isOpen() || !hasPreciseDetector(algorithm_)) return;
    const bool precise = preciseChosen();
    columnsPrecise_ = precise;
    SendMessageA(control(control::kPrecise), BM_SETCHECK, precise ? BST_CHECKED : BST_UNCHECKED, 0);
    if (algorithm_ == kPilotToneTracking) {
        for (int id : kPilotUnused) show(control(id), !precise);
        if (precise) {
            fillPreciseColumns(kPilotCaptions.data(), kPilotBars.data(), kPilotValues.data());
        } else {
            for (int id : kPilotBars) enable(control(id), true);
            fillTrackerPanel();
        }
        return;
    }
    for (int id : kSpectralFourth) show(control(id), precise);
    // The precise run makes the curve itself: no preview, and "Create PVC"
    // runs it over the marked area or the whole file.
    enable(control(kPreview), !precise);
    enable(control(kCreatePvc), precise);
    if (precise) {
        fillPreciseColumns(kSpectralCaptions.data(), kSpectralBars.data(), kSpectralValues.data());
    } else {
        for (int id : kSpectralBars) enable(control(id), id != kThresholdBar);
        fillSpectralPanel();
    }
}

void EditorWindow::fillPreciseColumns(const int* captions, const int* bars, const int* values) {
    PreciseDetector* detector = panelDetector(*owner_, algorithm_);
    for (int i = 0; i < kPreciseColumns; ++i) {
        HWND bar = control(bars[i]);
        // Without a detector the bars cannot set anything.
        enable(bar, detector != nullptr);
        if (detector == nullptr) {
            setText(control(values[i]), "-");
            continue;
        }
        setText(control(captions[i]), detectorCaption(*detector, i));
        setBar(bar, detector->getParameter(i));
        setText(control(values[i]), parameterValueText("%.0f", detector->getParameterDisplayValue(i)));
    }
}

bool EditorWindow::preciseParameterChanged(int id, float value) {
    if (!preciseChosen()) return false;
    const bool pilot = algorithm_ == kPilotToneTracking;
    const int column = columnOf(pilot ? kPilotBars : kSpectralBars, id);
    if (column < 0) {
        // A bar the precise panel hides changes nothing.
        for (int bar : kPanelBars)
            if (bar == id) return true;
        return false;
    }
    PreciseDetector* detector = panelDetector(*owner_, algorithm_);
    if (detector == nullptr) return true;
    detector->setParameter(column, value);
    const int valueText = (pilot ? kPilotValues : kSpectralValues)[static_cast<size_t>(column)];
    setText(control(valueText), parameterValueText("%.0f", detector->getParameterDisplayValue(column)));
    return true;
}

void EditorWindow::followPreciseChoice() {
    if (!hasPreciseDetector(algorithm_) || owner_->busy()) return;
    const bool ticked = SendMessageA(control(control::kPrecise), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const bool precise = owner_->preciseDetectors().enabled();
    if (ticked == precise) return;
    // A click on the box refused while a task ran left the columns as they
    // were: then only the box is put right.
    if (columnsPrecise_ == precise)
        SendMessageA(control(control::kPrecise), BM_SETCHECK, precise ? BST_CHECKED : BST_UNCHECKED, 0);
    else
        switchPanelDetector(precise);
}

}  // namespace wowfix
