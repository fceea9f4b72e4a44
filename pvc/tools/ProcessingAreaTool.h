#pragma once

#include "pvc/tools/EditTool.h"

namespace wowfix {

// The processing area of the spectral-domain detector: the band between the
// pressed and the released row and the column samples between the pressed
// and the released column. Changes no curve and no undo state.
class ProcessingAreaTool : public EditTool {
public:
    int number() const override { return processingAreaTool; }
    void select(EditContext&) override {}
    void press(EditContext& context, int x, int y) override;
    void drag(EditContext&, int, int) override {}
    void release(EditContext& context, int x, int y) override;

private:
    bool pressed_ = false;
    int x0_ = 0;
    int y0_ = 0;
};

}  // namespace wowfix
