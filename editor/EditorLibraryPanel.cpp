// The processing-library panel: five slots, each showing one library
// parameter of the basic or of the advanced set, and the switch between them.
#include "editor/ControlValues.h"
#include "editor/EditorWindow.h"
#include "editor/ParameterText.h"

#include "host/HumPanelRules.h"
#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "tasks/ProcessingLibrary.h"

#include <array>

namespace wowfix {

namespace {

constexpr std::array<int, 5> kBars{46, 47, 48, 49, 50};
constexpr std::array<int, 5> kValues{51, 52, 53, 54, 55};
constexpr std::array<int, 5> kCaptions{41, 42, 43, 44, 45};
// The library parameter each slot shows in either set.
constexpr std::array<int, 5> kBasicParameters{1, 2, 3, 4, 10};
constexpr std::array<int, 5> kAdvancedParameters{5, 6, 7, 9, 11};
// How far the captions of the advanced set stand right of the basic ones.
constexpr std::array<int, 5> kAdvancedShift{10, 20, 0, -10, 0};

constexpr const char* kAdvancedCaption = "Advanced >";
constexpr const char* kBasicCaption = "< Basic";

const ControlSpec* specOf(int id) {
    for (const ControlSpec& entry : editorControls())
        if (entry.id == id) return &entry;
    return nullptr;
}

}  // namespace

void EditorWindow::fillLibraryPanel() {
    ProcessingLibrary& library = owner_->processingLibrary();
    const int count = library.numParams();
    const auto& parameters = advancedPanel_ ? kAdvancedParameters : kBasicParameters;
    for (size_t i = 0; i < kBars.size(); ++i) {
        const int index = parameters[i];
        // A library with fewer parameters leaves the slot empty.
        if (index >= count) {
            setText(control(kCaptions[i]), "");
            setText(control(kValues[i]), "");
            continue;
        }
        setText(control(kCaptions[i]), parameterCaption(library.name(index), library.label(index)));
        const bool halved = !advancedPanel_ && i == 0;
        setBar(control(kBars[i]), library.value(index) * (halved ? 2.0f : 1.0f));
        setText(control(kValues[i]), parameterValueText(advancedPanel_ ? "%.0f" : "%.1f", library.display(index)));
    }
}

void EditorWindow::switchLibrarySet() {
    if (algorithm_ != kLibraryDetection) return;
    advancedPanel_ = !advancedPanel_;
    setText(control(64), advancedPanel_ ? kBasicCaption : kAdvancedCaption);
    for (size_t i = 0; i < kCaptions.size(); ++i) {
        const ControlSpec* place = specOf(kCaptions[i]);
        if (place == nullptr) continue;
        const int x = place->x + (advancedPanel_ ? kAdvancedShift[i] : 0);
        MoveWindow(control(kCaptions[i]), x, place->y, place->width, place->height, TRUE);
    }
    fillLibraryPanel();
}

void EditorWindow::librarySlotChanged(int slot, float v) {
    ProcessingLibrary& library = owner_->processingLibrary();
    const size_t s = static_cast<size_t>(slot);
    const int index = (advancedPanel_ ? kAdvancedParameters : kBasicParameters)[s];
    // Indices the library does not have are never handed to it.
    if (owner_->libraryInstance() == nullptr || index >= library.numParams()) return;
    HWND bar = control(kBars[s]);
    if (advancedPanel_) {
        applyHumPanelRule(library, index, v);
        setBar(bar, library.value(index));
        setText(control(kValues[s]), parameterValueText("%.0f", library.display(index)));
        return;
    }
    switch (slot) {
    case 0: library.setValue(1, v / 2.0f); break;
    case 1:
        library.setValue(2, v);
        if (library.value(2) <= 2.0f * library.value(1)) {
            library.setValue(2, 2.0f * library.value(1));
            setBar(bar, library.value(2));
        }
        break;
    case 2:
    case 3: {
        // The lower bound never passes the upper one (slots 3 and 4).
        const size_t other = slot == 2 ? 3 : 2;
        const float bound = barValue(barPositionOf(control(kBars[other])));
        const bool fits = slot == 2 ? v < bound : v > bound;
        library.setValue(index, fits ? v : bound);
        if (!fits) setBar(bar, bound);
        break;
    }
    default: library.setValue(index, v); break;
    }
    setText(control(kValues[s]), parameterValueText("%.1f", library.display(index)));
}

}  // namespace wowfix
