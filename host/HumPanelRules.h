#pragma once

namespace wowfix {

class ProcessingLibrary;

// What the editor's processing-library panel does when a slider of library
// parameter `index` moves to the value v (0 ... 1): parameter 1 takes v / 2;
// the decimated rate 2 is kept at least twice parameter 1; the band's lower
// bound 3 stays at or below its upper bound 4 and 4 at or above 3;
// parameters 6 and 7 are kept at or below 5, 5 above twice 7, and 7 shows at
// least 2 (0.025, or 5 when that is lower and shows 2). Other parameters take
// v as it is.
void applyHumPanelRule(ProcessingLibrary& library, int index, float v);

}  // namespace wowfix
