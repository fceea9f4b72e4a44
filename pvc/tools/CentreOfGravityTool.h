#pragma once

#include "pvc/tools/EditTool.h"

#include <vector>

namespace wowfix {

// The centre-of-gravity tool: the user presses on a tonal line and drags
// along it; the line is followed column by column by its spectral centre of
// gravity, and on release the followed stretch of the curve takes the
// line's frequency ratio. The pointer's vertical distance from the press
// sets the tolerance level (10 ... 20, one step per 4 rows). Kind 5.
//
// Columns followed, from the press column x0 towards the release column x:
// x0, x0 + 1, ..., x - 1 to the right and x0, x0 - 1, ..., x + 1 to the
// left; the release column itself is where the stretch ends. The stretch
// spans the samples from the press column to the column after the last one
// followed, in time order; its two ends keep the curve's old values, and the
// followed values go in between. Where the line was lost the rest of the
// drag keeps the curve it had, and a line lost at once (silence, noise)
// changes nothing and records no step.
class CentreOfGravityTool : public EditTool {
public:
    struct PreviewPoint {
        int column;
        int row;
    };

    int number() const override { return centreOfGravityTool; }
    void press(EditContext& context, int x, int y) override;
    void drag(EditContext& context, int x, int y) override;
    void release(EditContext& context, int x, int y) override;

    bool pressed() const { return pressed_; }
    // The line followed by the last drag, for the editor to draw.
    const std::vector<PreviewPoint>& preview() const { return preview_; }
    // Signed number of columns the last release followed (0: none).
    int followed() const { return followed_; }

    static int levelOfDistance(long long rows);

private:
    struct Tracked {
        int count = 0;       // signed, as the tracker answers
        int span = 0;        // columns between press and release
        std::vector<float> values;
    };
    Tracked track(const EditContext& context, int x, int y, float scale) const;

    bool pressed_ = false;
    int x0_ = 0;
    int y0_ = 0;
    int followed_ = 0;
    std::vector<PreviewPoint> preview_;
};

}  // namespace wowfix
