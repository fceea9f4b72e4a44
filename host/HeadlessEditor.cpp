#include "host/HeadlessEditor.h"

#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "pvc/tools/EditContext.h"

namespace wowfix {

HeadlessEditor::HeadlessEditor(OfflinePlugin& plugin) : plugin_(plugin) {}

UndoHistory& HeadlessEditor::history() { return historyOfSlot(plugin_.curve().fileSlot()); }

UndoHistory& HeadlessEditor::historyOfSlot(int slot) {
    return histories_[static_cast<size_t>(slot >= 0 && slot < FileSlotMap::slotCount ? slot : 0)];
}

EditContext HeadlessEditor::editContext() {
    return EditContext{plugin_.curve(), plugin_.spectrogram(), &history(), area_,
                       static_cast<int>(view_.viewOrigin), view_.panelWidth};
}

bool HeadlessEditor::useTool(int tool) {
    if (tool == tools_.selected()) return true;
    EditContext context = editContext();
    return tools_.select(context, tool);
}

bool HeadlessEditor::pointer(int phase, int x, int y) {
    // The tools change the curve a running task writes.
    if (plugin_.busy() || !plugin_.spectrogram().laidOut() || !plugin_.pvcReady()) return false;
    EditContext context = editContext();
    switch (phase) {
        case 0: tools_.press(context, x, y); return true;
        case 1: tools_.drag(context, x, y); return true;
        case 2: tools_.release(context, x, y); return true;
        case 3: tools_.hover(context, x, y); return true;
        default: return false;
    }
}

void HeadlessEditor::drawColumn(int column) {
    ++columnsDrawn_;
    if (drawing_ != nullptr) drawing_->drawColumn(column);
}

void HeadlessEditor::drawCurve() {
    ++curveDrawings_;
    if (drawing_ != nullptr) drawing_->drawCurve();
}

void HeadlessEditor::drawCurveWithBounds(int lowerRow, int upperRow) {
    ++curveDrawings_;
    if (drawing_ != nullptr) drawing_->drawCurveWithBounds(lowerRow, upperRow);
}

void HeadlessEditor::showProgress(double percent) {
    if (drawing_ != nullptr) drawing_->showProgress(percent);
}

}  // namespace wowfix
