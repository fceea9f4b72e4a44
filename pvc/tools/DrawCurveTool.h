#pragma once

#include "pvc/tools/EditTool.h"

#include <vector>

namespace wowfix {

// "Chart PVC": draws a stretch of the curve by hand. While the button is held
// the tool keeps a trace of one row per panel column (0: nothing drawn
// there); on release the curve's points under the stroke are replaced by the
// drawn rows, and the curve outside keeps its shape up to the stroke's ends.
// Each stroke is an undo step of its own (kind 8).
//
// The stroke covers every column drawn on, not only the columns between the
// press and the release: a pointer that went beyond the release column and
// came back, or that moved backwards in time, drew there too, and the old
// points under those columns go as well, so drawn and old points never
// interleave. Columns the pointer skipped keep no point; the curve runs
// straight across them.
class DrawCurveTool : public EditTool {
public:
    int number() const override { return drawCurveTool; }
    void press(EditContext& context, int x, int y) override;
    void drag(EditContext& context, int x, int y) override;
    void release(EditContext& context, int x, int y) override;

    bool drawing() const { return drawing_; }
    // Row drawn at each panel column since the press (empty when not drawing).
    const std::vector<int>& trace() const { return trace_; }

private:
    static int traceWidth(const EditContext& context);

    std::vector<int> trace_;
    bool drawing_ = false;
    int x0_ = 0;
};

}  // namespace wowfix
