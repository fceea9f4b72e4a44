#pragma once

#include "pvc/tools/EditTool.h"

namespace wowfix {

// "Insert Points": a press adds a point on the curve as it is, at the sample
// under the pressed column; the row is not used, and the new point keeps the
// curve's own value there. Where the curve refuses (a point already there,
// the curve's ends, outside it) the edit is still recorded. Kind 7.
class InsertPointsTool : public EditTool {
public:
    int number() const override { return insertPointsTool; }
    void press(EditContext& context, int x, int y) override;
    void drag(EditContext&, int, int) override {}
    void release(EditContext&, int, int) override {}
};

}  // namespace wowfix
