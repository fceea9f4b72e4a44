#pragma once

#include "pvc/tools/EditTool.h"

namespace wowfix {

// "Move PVC point": picks a point under the pointer and drags it, never past
// its neighbours' columns; the release row gives its value. One undo step
// (kind 6) per release of a picked point.
//
// Hovering (the pointer over a point, for the editor's highlight) follows the
// moves without the button, but the press tests the point under the pointer
// itself: picking does not depend on a move having come first.
class MovePointTool : public EditTool {
public:
    int number() const override { return movePointTool; }
    void hover(EditContext& context, int x, int y) override;
    void press(EditContext& context, int x, int y) override;
    void drag(EditContext& context, int x, int y) override;
    void release(EditContext& context, int x, int y) override;

    bool hovering() const { return hovering_; }
    bool dragging() const { return dragging_; }

private:
    bool hovering_ = false;
    bool selected_ = false;
    bool dragging_ = false;
};

}  // namespace wowfix
