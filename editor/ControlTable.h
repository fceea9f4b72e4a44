#pragma once

#include "editor/win32/Win32.h"

#include <vector>

namespace wowfix {

// One child control of the editor window: identifier, class and style,
// caption, place and size in the main window, font, initial state.
struct ControlSpec {
    int id;
    const char* className;
    DWORD style;  // class style bits; WS_CHILD is added when created
    const char* caption;
    int x, y, width, height;
    bool visible;
    bool enabled;
    bool checked;
    int font;  // stock font
};

namespace control {
constexpr int kPanel = 10;
constexpr int kAlgorithmSelector = 72;
constexpr int kResolution = 59;
constexpr int kWindowing = 60;
constexpr int kProgress = 77;
constexpr int kInfo = 75;
constexpr int kUndo = 78;
constexpr int kRedo = 79;
// "Precise" on the pilot-tone and spectral-domain panels.
constexpr int kPrecise = 107;
constexpr int kCount = 108;  // identifiers 0 ... 107
}  // namespace control

// The controls in creation order: the panel, the selector and main buttons,
// the view controls, the tracker panel, the processing-library panel, the
// zoom options, the PVC tools and the SDPvc panel.
const std::vector<ControlSpec>& editorControls();

// The identifiers of an algorithm's panel (4 tracker, 3 processing library,
// 7 SDPvc, 8 zoom options, 6 PVC tools) as the plain detector shows it;
// empty for another number.
std::vector<int> panelControls(int algorithm);

// The entries of the algorithm selector and the algorithm each stands for.
extern const char* const kAlgorithmNames[6];
extern const int kAlgorithmOfEntry[6];

}  // namespace wowfix
