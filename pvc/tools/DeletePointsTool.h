#pragma once

#include "pvc/tools/EditTool.h"

namespace wowfix {

// "Delete PVC Points": removes the points between the samples under the
// pressed and the released column (either order); the curve's end points
// stay. Kind 9.
class DeletePointsTool : public EditTool {
public:
    int number() const override { return deletePointsTool; }
    void press(EditContext& context, int x, int y) override;
    void drag(EditContext&, int, int) override {}
    void release(EditContext& context, int x, int y) override;

    bool pressed() const { return pressed_; }
    int pressColumn() const { return x0_; }

private:
    bool pressed_ = false;
    int x0_ = 0;
};

}  // namespace wowfix
