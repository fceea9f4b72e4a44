#include "pvc/tools/EditTools.h"

namespace wowfix {

EditTool* EditTools::tool(int number) {
    switch (number) {
        case movePointTool: return &move_;
        case processingAreaTool: return &area_;
        case deletePointsTool: return &delete_;
        case centreOfGravityTool: return &centreOfGravity_;
        case insertPointsTool: return &insert_;
        case drawCurveTool: return &draw_;
        default: return nullptr;
    }
}

bool EditTools::select(EditContext& context, int number) {
    if (number == noEditTool) {
        selected_ = noEditTool;
        return true;
    }
    EditTool* chosen = tool(number);
    if (chosen == nullptr) return false;
    selected_ = number;
    chosen->select(context);
    return true;
}

void EditTools::hover(EditContext& context, int x, int y) {
    if (EditTool* current = tool(selected_)) current->hover(context, x, y);
}

void EditTools::press(EditContext& context, int x, int y) {
    if (EditTool* current = tool(selected_)) current->press(context, x, y);
}

void EditTools::drag(EditContext& context, int x, int y) {
    if (EditTool* current = tool(selected_)) current->drag(context, x, y);
}

void EditTools::release(EditContext& context, int x, int y) {
    if (EditTool* current = tool(selected_)) current->release(context, x, y);
}

}  // namespace wowfix
