// The editor window's algorithm selection, the algorithms' panels and their
// parameter bars.
#include "editor/AlgorithmMessages.h"
#include "editor/ControlValues.h"
#include "editor/EditorWindow.h"
#include "editor/ParameterText.h"
#include "editor/win32/ScriptedAnswers.h"

#include "detectors/SDPvc.h"
#include "detectors/ToneTracker.h"
#include "host/HeadlessEditor.h"
#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "pvc/PvcCurve.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/ProcessingLibrary.h"

#include <array>

namespace wowfix {

const char* linearOnlyMessage(int algorithm) {
    switch (algorithm) {
    case 3: return message::kHumLinearOnly;
    case 4: return message::kPilotLinearOnly;
    case 5: return message::kGravityLinearOnly;
    case 6: return message::kManualLinearOnly;
    case 7: return message::kSpectralLinearOnly;
    default: return nullptr;
    }
}

namespace {

constexpr std::array<int, 6> kTrackerBars{30, 31, 32, 33, 34, 104};
constexpr std::array<int, 6> kTrackerValues{35, 36, 37, 38, 39, 105};
constexpr std::array<int, 6> kTrackerCaptions{25, 26, 27, 28, 29, 103};
constexpr std::array<int, 3> kSpectralBars{86, 87, 88};
constexpr std::array<int, 3> kSpectralValues{91, 92, 93};
constexpr std::array<int, 3> kSpectralCaptions{81, 82, 83};
constexpr std::array<int, 5> kLibraryBars{46, 47, 48, 49, 50};

template <size_t N>
int slotOf(const std::array<int, N>& ids, int id) {
    for (size_t i = 0; i < N; ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

}  // namespace

void EditorWindow::showInfo(const char* text) {
    setText(control(control::kInfo), text != nullptr ? text : "");
    ShowWindow(control(control::kInfo), text != nullptr ? SW_SHOW : SW_HIDE);
}

void EditorWindow::enableViewControls(bool view, bool reference) {
    for (int id : {12, 13, 14, 15, 16, 17}) EnableWindow(control(id), view ? TRUE : FALSE);
    EnableWindow(control(11), reference ? TRUE : FALSE);
}

bool EditorWindow::leaveAlgorithm() {
    showInfo(nullptr);
    showAlgorithmPanel(-1);
    switch (algorithm_) {
    case kLibraryDetection: return owner_->releaseLibraryInstance() || owner_->libraryInstance() == nullptr;
    case kPilotToneTracking:
        dropPreciseChoice();
        owner_->destroyToneTracker();
        return true;
    case kSpectralDetection:
        dropPreciseChoice();
        owner_->destroySpectralDetector();
        return true;
    default: return true;
    }
}

void EditorWindow::selectAlgorithm(int n) {
    if (!isOpen()) return;
    if (!linearScale_) {
        if (const char* text = linearOnlyMessage(n)) {
            if (n != algorithm_) leaveAlgorithm();
            showInfo(text);
        }
        return;
    }
    HeadlessEditor& headless = owner_->headlessEditor();
    if (n == kPilotToneTracking) setTaskMode(kViewAcquisition);
    if (n == kSpectralDetection) {
        headless.requestTask(kViewAcquisition);
        // The plain detector's threshold waits for a new preview; the
        // precise detector's third bar stays usable.
        if (!preciseChosen()) EnableWindow(control(88), FALSE);
    }
    if (n == algorithm_) return;
    if (previousAlgorithm_ == 8) ShowWindow(control(106), SW_HIDE);
    const int left = algorithm_;
    if (!leaveAlgorithm()) return;
    if (left == kLibraryDetection && owner_->usesRuntimeLibrary()) {
        owner_->setUseRuntimeLibrary(false);
        if (owner_->spectrogram().fftLength() != headless.view().resolution) {
            owner_->taskState().settingsChanged = true;
            if (n != 8) headless.requestTask(kViewAcquisition);
        }
    }
    switch (n) {
    case kLibraryDetection:
        if (!owner_->createLibraryInstance()) {
            // Nothing is left to work with: no algorithm rather than one
            // whose object is gone.
            algorithm_ = 0;
            tool_ = -1;
            showInfo(message::kHumNotCreated);
            break;
        }
        tool_ = -1;
        algorithm_ = n;
        showAlgorithmPanel(n);
        break;
    case kPilotToneTracking:
    case kSpectralDetection: {
        const bool made = n == kPilotToneTracking ? owner_->createToneTracker() : owner_->createSpectralDetector();
        if (!made) {
            algorithm_ = 0;
            tool_ = -1;
            showInfo(n == kPilotToneTracking ? message::kPilotNotCreated : message::kSpectralNotCreated);
            break;
        }
        tool_ = n == kPilotToneTracking ? -1 : 2;
        algorithm_ = n;
        // The panel opens on the plain detector.
        dropPreciseChoice();
        showAlgorithmPanel(n);
        break;
    }
    case kCentreOfGravity:
        showInfo(message::kGravityActive);
        tool_ = 4;
        owner_->curve().markNewSnapshot();
        algorithm_ = n;
        showAlgorithmPanel(n);
        break;
    case 6:
        algorithm_ = n;
        tool_ = -1;
        showAlgorithmPanel(n);
        break;
    case 8:
        tool_ = 0;
        algorithm_ = n;
        showAlgorithmPanel(n);
        setTaskMode(8);
        previousAlgorithm_ = 8;
        owner_->requeryFiles();
        break;
    default: break;
    }
    if (n != 8) lastDetector_ = algorithm_;
}

void EditorWindow::showAlgorithmPanel(int algorithm) {
    if (!isOpen()) return;
    for (int panel : {4, 3, 7, 8, 6})
        for (int id : panelControls(panel)) ShowWindow(control(id), SW_HIDE);
    switch (algorithm) {
    case kLibraryDetection:
        enableViewControls(false, false);
        // The panel always opens on the basic set.
        if (advancedPanel_) switchLibrarySet();
        setText(control(64), "Advanced >");
        fillLibraryPanel();
        break;
    case kPilotToneTracking:
    case kCentreOfGravity:
    case kSpectralDetection: enableViewControls(false, true); break;
    case 8: enableViewControls(true, true); break;
    default: break;
    }
    for (int id : panelControls(algorithm)) ShowWindow(control(id), SW_SHOW);
    if (algorithm != kSpectralDetection) EnableWindow(control(40), TRUE);
    // The columns of the detector in use, plain or precise; the plain
    // spectral-domain detector's "Create PVC" and third bar wait for a
    // preview.
    if (algorithm == kPilotToneTracking || algorithm == kSpectralDetection) showPreciseChoice();
}

void EditorWindow::fillTrackerPanel() {
    const ToneTracker* tracker = owner_->toneTracker();
    if (tracker == nullptr) return;
    for (size_t i = 0; i < kTrackerBars.size(); ++i) {
        const int index = static_cast<int>(i);
        setText(control(kTrackerCaptions[i]), detectorCaption(*tracker, index));
        setBar(control(kTrackerBars[i]), tracker->getParameter(index));
        setText(control(kTrackerValues[i]), parameterValueText("%.0f", tracker->getParameterDisplayValue(index)));
    }
}

void EditorWindow::fillSpectralPanel() {
    const SDPvc* detector = owner_->spectralDetector();
    if (detector == nullptr) return;
    for (size_t i = 0; i < kSpectralBars.size(); ++i) {
        const int index = static_cast<int>(i);
        setText(control(kSpectralCaptions[i]), detectorCaption(*detector, index));
        setBar(control(kSpectralBars[i]), detector->getParameter(index));
        setText(control(kSpectralValues[i]),
                parameterValueText(i == 2 ? "%g" : "%.0f", detector->getParameterDisplayValue(index)));
    }
}

void EditorWindow::preview() {
    // The precise detector makes the curve in one run, without a preview.
    if (preciseChosen()) return;
    HeadlessEditor& headless = owner_->headlessEditor();
    if (!headless.area().selected) {
        showMessageBox(mainWindow_, message::kMarkAreaFirst, message::kInfoTitle, MB_OK | MB_ICONSTOP);
        return;
    }
    tool_ = -1;
    if (!headless.requestTask(kSpectralDetection)) return;
    showAlgorithmPanel(kSpectralDetection);
    // The previewed result is re-thresholded by the third bar.
    EnableWindow(control(88), TRUE);
    EnableWindow(control(40), TRUE);
}

bool EditorWindow::parameterChanged(int id) {
    HWND bar = control(id);
    const float v = barValue(barPositionOf(bar));
    if (preciseParameterChanged(id, v)) return true;
    if (int i = slotOf(kTrackerBars, id); i >= 0) {
        ToneTracker* tracker = owner_->toneTracker();
        if (tracker == nullptr) return true;
        tracker->setParameter(i, v);
        setText(control(kTrackerValues[static_cast<size_t>(i)]),
                parameterValueText("%.0f", tracker->getParameterDisplayValue(i)));
        return true;
    }
    if (int i = slotOf(kSpectralBars, id); i >= 0) {
        SDPvc* detector = owner_->spectralDetector();
        if (detector == nullptr) return true;
        detector->setParameter(i, v);
        setText(control(kSpectralValues[static_cast<size_t>(i)]),
                parameterValueText(i == 2 ? "%g" : "%.0f", detector->getParameterDisplayValue(i)));
        if (i == 2) repaintPanel();
        return true;
    }
    const int slot = slotOf(kLibraryBars, id);
    if (slot < 0) return false;
    librarySlotChanged(slot, v);
    return true;
}

}  // namespace wowfix
