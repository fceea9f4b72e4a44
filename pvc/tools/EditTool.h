#pragma once

#include <cstdint>

namespace wowfix {

struct EditContext;

// Tool numbers as the editor's controls select them.
enum EditToolNumber : int {
    noEditTool = 0,
    movePointTool = 1,
    processingAreaTool = 2,
    deletePointsTool = 3,
    centreOfGravityTool = 4,
    insertPointsTool = 5,
    drawCurveTool = 6,
};

// Values a tool enters into the curve lie in this range: a zero or negative
// speed would stall the correction, and no recording runs at more than twice
// its speed.
constexpr float minEditValue = 0.01f;
constexpr float maxEditValue = 2.0f;
// clamp to minEditValue ... maxEditValue; NaN stays NaN, so the curve
// refuses it.
float clampEditValue(float value);

// One mouse tool of the spectrogram panel. The editor routes the left
// button's press, the pointer's moves while it is held (drag), its release
// and the moves without a button (hover) to the selected tool, with the
// pointer's position in panel pixels, which may lie outside the panel.
// Everything the tool does to the curve, the undo store and the processing
// area happens here; the editor only redraws afterwards.
class EditTool {
public:
    virtual ~EditTool() = default;

    virtual int number() const = 0;
    // The tool became the selected one.
    virtual void select(EditContext& context);
    virtual void hover(EditContext& context, int x, int y);
    virtual void press(EditContext& context, int x, int y) = 0;
    virtual void drag(EditContext& context, int x, int y) = 0;
    virtual void release(EditContext& context, int x, int y) = 0;
};

// --- shared by the tools -----------------------------------------------------

// The curve's sample under panel column x: the view's offset plus the middle
// of that column's analysis block.
int sampleUnderColumn(const EditContext& context, int x);
// The speed ratio entered at panel row y: the row's frequency over the
// reference frequency, clamped to minEditValue ... maxEditValue.
float valueOfRow(const EditContext& context, int y);
// The panel column x limited to the store's columns.
int clampColumn(const EditContext& context, int x);
// After an edit: rewrites the current snapshot or opens a new one, and
// records a step of `kind` on the history when a new one was opened.
void recordToolEdit(EditContext& context, std::int32_t kind);

}  // namespace wowfix
