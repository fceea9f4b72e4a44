#pragma once

#include "pvc/tools/CentreOfGravityTool.h"
#include "pvc/tools/DeletePointsTool.h"
#include "pvc/tools/DrawCurveTool.h"
#include "pvc/tools/InsertPointsTool.h"
#include "pvc/tools/MovePointTool.h"
#include "pvc/tools/ProcessingAreaTool.h"

namespace wowfix {

struct EditContext;

// The six mouse tools of the spectrogram panel and which one is selected;
// the editor routes the pointer to the selected one.
class EditTools {
public:
    // Selects tool `number` (noEditTool ... drawCurveTool); the move, delete,
    // centre-of-gravity, insert and drawing tools open a new undo step with
    // their first change. False, keeping the selection, for another number.
    bool select(EditContext& context, int number);
    int selected() const { return selected_; }
    // Null for noEditTool or an unknown number.
    EditTool* tool(int number);

    void hover(EditContext& context, int x, int y);
    void press(EditContext& context, int x, int y);
    void drag(EditContext& context, int x, int y);
    void release(EditContext& context, int x, int y);

    const MovePointTool& movePoint() const { return move_; }
    const DrawCurveTool& drawCurve() const { return draw_; }
    const CentreOfGravityTool& centreOfGravity() const { return centreOfGravity_; }
    const DeletePointsTool& deletePoints() const { return delete_; }

private:
    MovePointTool move_;
    ProcessingAreaTool area_;
    DeletePointsTool delete_;
    CentreOfGravityTool centreOfGravity_;
    InsertPointsTool insert_;
    DrawCurveTool draw_;
    int selected_ = noEditTool;
};

}  // namespace wowfix
