// The scripted commands of the vendor-specific opcode (see VendorCommands.h).

#include "host/HeadlessEditor.h"
#include "host/HumPanelRules.h"
#include "host/OfflinePlugin.h"

#include "editor/EditorWindow.h"
#include "editor/HeadlessWindowActions.h"
#include "host/TaskMode.h"
#include "host/VendorCommands.h"
#include "sdk/StringCopy.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace wowfix {
namespace {

template <typename Record>
const Record* record(void* ptr) {
    const auto* r = static_cast<const Record*>(ptr);
    return r != nullptr && r->size >= static_cast<std::int32_t>(sizeof(Record)) ? r : nullptr;
}

template <typename Record>
Record* writableRecord(void* ptr) {
    auto* r = static_cast<Record*>(ptr);
    return r != nullptr && r->size >= static_cast<std::int32_t>(sizeof(Record)) ? r : nullptr;
}

// The pointer's events for one of the editor's mouse tools.
VstIntPtr runToolEvents(OfflinePlugin& plugin, void* ptr) {
    auto* input = writableRecord<vendor::ToolEvents>(ptr);
    if (input == nullptr || input->count < 0 || input->count > 1000000 ||
        (input->count > 0 && input->events == nullptr))
        return 0;
    HeadlessEditor& editor = plugin.headlessEditor();
    std::string& message = plugin.taskState().message;
    if (!editor.useTool(input->tool)) {
        message = "There is no mouse tool " + std::to_string(input->tool) + ".";
        return 0;
    }
    for (int i = 0; i < input->count; ++i) {
        const vendor::PointerEvent& event = input->events[i];
        if (event.phase < vendor::kPointerPress || event.phase > vendor::kPointerHover) {
            message = "An unknown pointer event was given to the mouse tool.";
            return 0;
        }
        if (!editor.pointer(event.phase, event.x, event.y)) {
            message = "There is no spectrogram for the mouse tools yet.";
            return 0;
        }
    }
    input->followed = editor.tools().centreOfGravity().followed();
    input->curvePoints = plugin.curve().count();
    input->undoPosition = editor.history().position();
    return 1;
}

}  // namespace

VstIntPtr OfflinePlugin::vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (index != vendor::kMagic) return 0;
    return runCommand(value, ptr, opt);
}

bool OfflinePlugin::loadCurveNow(const char* path, double length) {
    if (path == nullptr || !std::isfinite(length) || length < 1.0 || length > static_cast<double>(INT_MAX)) {
        state_.message = "The curve needs a file and a selection of at least one frame.";
        return false;
    }
    const int frames = static_cast<int>(length);
    setPvcPath(path);
    // The loader completes the curve up to its length, so that comes first.
    pvc_.setLength(frames);
    const bool loaded = pvc_.loadPvc(path, false, false);
    if (!loaded) pvc_.initFlat(frames);
    pvc_.setLength(frames);
    state_.pvcReady = true;
    if (!loaded) {
        state_.message = std::string("The curve file \"") + path + "\" could not be read; the curve is flat.";
        return false;
    }
    state_.message.clear();
    return true;
}

VstIntPtr OfflinePlugin::libraryParameter(void* ptr) {
    auto* parameter = writableRecord<vendor::DetectorParameter>(ptr);
    if (!library_.hasInstance() && !createLibraryInstance()) return 0;
    parameter->count = library_.numParams();
    const int index = parameter->index;
    if (index < 0 || index >= parameter->count) return 0;
    if (parameter->write != 0) {
        if (!std::isfinite(parameter->value)) return 0;
        applyHumPanelRule(library_, index, std::clamp(parameter->value, 0.0f, 1.0f));
    }
    parameter->value = library_.value(index);
    parameter->display = library_.display(index);
    copyText(parameter->name, library_.name(index).c_str(), sizeof parameter->name);
    copyText(parameter->label, library_.label(index).c_str(), sizeof parameter->label);
    return 1;
}

VstIntPtr OfflinePlugin::detectorParameter(void* ptr) {
    auto* parameter = writableRecord<vendor::DetectorParameter>(ptr);
    if (parameter != nullptr && parameter->algorithm == vendor::kHumAlgorithm) return libraryParameter(ptr);
    if (parameter == nullptr) return 0;
    PvcDetector* chosen = nullptr;
    if (precise_.enabled()) {
        chosen = precise_.forAlgorithm(parameter->algorithm, spectrogram_.sampleRate());
        if (chosen == nullptr) return 0;
    } else if (parameter->algorithm == vendor::kPilotToneAlgorithm) {
        if (toneTracker_ == nullptr && !createToneTracker()) return 0;
        chosen = toneTracker_.get();
    } else if (parameter->algorithm == vendor::kSpectralAlgorithm) {
        if (spectralDetector_ == nullptr && !createSpectralDetector()) return 0;
        chosen = spectralDetector_.get();
    } else {
        return 0;
    }
    PvcDetector& detector = *chosen;
    parameter->count = detector.getNumParams();
    const int index = parameter->index;
    if (index < 0 || index >= detector.getNumParams()) return 0;
    if (parameter->write != 0) {
        if (!std::isfinite(parameter->value)) return 0;
        detector.setParameter(index, std::clamp(parameter->value, 0.0f, 1.0f));
    }
    parameter->value = detector.getParameter(index);
    parameter->display = detector.getParameterDisplayValue(index);
    copyText(parameter->name, detector.parameterName(index), sizeof parameter->name);
    copyText(parameter->label, detector.parameterLabel(index), sizeof parameter->label);
    return 1;
}

VstIntPtr OfflinePlugin::setProcessingArea(void* ptr) {
    const auto* input = record<vendor::ProcessingArea>(ptr);
    if (input == nullptr) return 0;
    EditArea area;
    area.start = std::min(input->start, input->end);
    area.end = std::max(input->start, input->end);
    area.lowFrequency = std::min(input->lowFrequency, input->highFrequency);
    area.highFrequency = std::max(input->lowFrequency, input->highFrequency);
    area.selected = area.start >= 0 && area.end > area.start && std::isfinite(area.lowFrequency) &&
                    std::isfinite(area.highFrequency) && area.highFrequency > area.lowFrequency;
    headless_->setArea(area);
    if (!area.selected) state_.message = "The processing area is empty; mark a stretch and a band.";
    return area.selected ? 1 : 0;
}

namespace {

// The commands a script may give while a task runs: the others read or
// change the curve, the store or the detectors the task is using.
bool allowedWhileBusy(VstIntPtr command) {
    return command == vendor::kLastMessage || command == vendor::kRequestTask || command == vendor::kEditorAction ||
           command == vendor::kEditorPicture;
}

}  // namespace

VstIntPtr OfflinePlugin::runCommand(VstIntPtr command, void* ptr, float opt) {
    if (busy() && !allowedWhileBusy(command)) {
        state_.message = "A task is running; wait until it has finished.";
        return 0;
    }
    switch (command) {
        case vendor::kSetPvcPath:
            setPvcPath(ptr != nullptr ? static_cast<const char*>(ptr) : "");
            return 1;
        case vendor::kLoadCurve: {
            const auto* file = record<vendor::CurveFile>(ptr);
            return file != nullptr && loadCurveNow(file->path, file->length) ? 1 : 0;
        }
        case vendor::kSaveCurve: {
            const auto* file = record<vendor::CurveFile>(ptr);
            if (file == nullptr || file->path == nullptr) return 0;
            if (pvc_.savePvc(file->path, true)) return 1;
            state_.message = std::string("The curve could not be written to \"") + file->path + "\".";
            return 0;
        }
        case vendor::kRequestTask: {
            const int mode = taskModeOf(opt);
            if (mode == kNoTask) return 0;
            // The host's answer to the re-query is its own matter; the task
            // starts from whichever notification comes next.
            headless_->workWithoutClick();
            return headless_->requestTask(mode) ? 1 : 0;
        }
        case vendor::kSetView: {
            const auto* settings = record<vendor::ViewSettings>(ptr);
            if (settings == nullptr) return 0;
            EditorView& view = headless_->view();
            view.resolution = settings->fftLength;
            view.windowIndex = settings->windowIndex;
            view.panelWidth = std::clamp(settings->panelWidth, 4, SpectrogramStore::kMaxColumns + 2);
            view.panelHeight = std::clamp(settings->panelHeight, 2, SpectrogramStore::kMaxRows + 1);
            view.viewOrigin = 0;
            view.rangeStart = std::isfinite(settings->rangeStart) ? settings->rangeStart : 0.0;
            view.rangeEnd = std::isfinite(settings->rangeEnd) ? settings->rangeEnd : 0.0;
            // What the window's settings dialog does: the store takes the new
            // analysis and panel settings at once.
            spectrogram_.setColumnCount(view.panelWidth - 2);
            spectrogram_.setRowCount(view.panelHeight - 1);
            spectrogram_.setFftLength(view.resolution);
            spectrogram_.setWindowType(view.windowIndex);
            spectrogram_.rebuildWindow();
            spectrogram_.allocateColumns();
            spectrogram_.resetFrequencyZoom();
            if (std::isfinite(settings->highDb)) spectrogram_.setHighDb(settings->highDb);
            if (std::isfinite(settings->lowDb)) spectrogram_.setLowDb(settings->lowDb);
            if (std::isfinite(settings->highDb)) spectrogram_.setHighDb(settings->highDb);
            // What the zoom rectangle and the reference-line bar do.
            const float bottom = settings->bottomFrequency;
            const float top = settings->topFrequency;
            if (std::isfinite(bottom) && std::isfinite(top) && (bottom != 0.0f || top != 0.0f))
                spectrogram_.setFrequencyRange(bottom, top);
            if (std::isfinite(settings->referenceFrequency) && settings->referenceFrequency > 0.0f)
                spectrogram_.setReferenceFrequency(settings->referenceFrequency);
            return 1;
        }
        case vendor::kReadSpectrogram: {
            auto* image = writableRecord<vendor::SpectrogramImage>(ptr);
            if (image == nullptr) return 0;
            const int columns = spectrogram_.columns();
            const int rows = spectrogram_.rows();
            image->columns = columns;
            image->rows = rows;
            if (image->levels == nullptr || image->capacity < 0 ||
                static_cast<long long>(image->capacity) < static_cast<long long>(columns) * rows)
                return 0;
            for (int row = 0; row < rows; ++row)
                for (int c = 0; c < columns; ++c)
                    image->levels[static_cast<size_t>(row) * columns + c] =
                        image->logScale != 0 ? spectrogram_.levelLog(c, row) : spectrogram_.levelLinear(c, row);
            return 1;
        }
        case vendor::kLastMessage: {
            auto* buffer = writableRecord<vendor::TextBuffer>(ptr);
            if (buffer == nullptr || buffer->text == nullptr || buffer->capacity < 1) return 0;
            copyText(buffer->text, state_.message.c_str(), static_cast<size_t>(buffer->capacity));
            return 1;
        }
        case vendor::kDetectorParameter:
            return detectorParameter(ptr);
        case vendor::kUseRuntimeLibrary:
            setUseRuntimeLibrary(opt != 0.0f);
            return 1;
        case vendor::kToolEvents:
            return runToolEvents(*this, ptr);
        case vendor::kSetProcessingArea:
            return setProcessingArea(ptr);
        case vendor::kCreateSpectralPvc:
            return createSpectralPvc() ? 1 : 0;
        case vendor::kUsePreciseDetectors:
            precise_.setEnabled(opt != 0.0f);
            return 1;
        case vendor::kEditorAction: {
            const auto* action = writableRecord<vendor::EditorAction>(ptr);
            return action != nullptr && editorWindow() != nullptr && applyEditorAction(*editorWindow(), *action)
                       ? 1
                       : 0;
        }
        case vendor::kEditorPicture: {
            auto* picture = writableRecord<vendor::WindowPicture>(ptr);
            return picture != nullptr && editorWindow() != nullptr && copyEditorPicture(*editorWindow(), *picture)
                       ? 1
                       : 0;
        }
        case vendor::kUndoState: {
            auto* state = writableRecord<vendor::UndoState>(ptr);
            if (state == nullptr) return 0;
            state->position = static_cast<std::int32_t>(headlessEditor().history().position());
            return 1;
        }
        default:
            return 0;
    }
}

}  // namespace wowfix
