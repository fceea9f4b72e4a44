#include "editor/ControlTable.h"

namespace wowfix {

const char* const kAlgorithmNames[6] = {"Please select algorithm...",        "Manual PVC Correction",
                                        "Spectral-Domain PVC Detector",      "Power-Line Hum Frequency Tracking",
                                        "High-Frequency Pilot Tone Tracking", "Centre of Gravity"};
const int kAlgorithmOfEntry[6] = {8, 6, 7, 3, 4, 5};

namespace {

constexpr DWORD kPush = BS_PUSHBUTTON;
constexpr DWORD kCheck = BS_AUTOCHECKBOX;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
constexpr int kAnsi = ANSI_VAR_FONT;
constexpr int kGui = DEFAULT_GUI_FONT;

ControlSpec button(int id, const char* caption, int x, int y, int w, int h, bool visible, bool enabled = true) {
    return {id, "BUTTON", kPush, caption, x, y, w, h, visible, enabled, false, kAnsi};
}
ControlSpec text(int id, DWORD style, const char* caption, int x, int y, int w, int h, bool visible = true) {
    return {id, "STATIC", style, caption, x, y, w, h, visible, true, false, kAnsi};
}
ControlSpec bar(int id, DWORD style, int x, int y, int w, int h, bool visible) {
    return {id, "SCROLLBAR", style, "", x, y, w, h, visible, true, false, kGui};
}
ControlSpec tick(int id, DWORD style, const char* caption, int x, int y, int w, int h, bool visible, bool enabled,
                 bool checked) {
    return {id, "BUTTON", style, caption, x, y, w, h, visible, enabled, checked, kGui};
}
ControlSpec list(int id, int x, int y, int w, int h) {
    return {id, "COMBOBOX", CBS_DROPDOWNLIST, "", x, y, w, h, true, true, false, kAnsi};
}

struct PanelLayout {
    int base, pitch;
    const int* captions;
    const int* bars;
    const int* values;
    int columns;
    int captionY, captionWidth, captionHeight;
    int shiftedColumn, shift, shiftedWidth;
    int barY, valueY;
};

// Column k has its centre at base + pitch * k: the caption centred on it,
// the bar from 8.5 pixels left of it (truncated), the value text 20 left.
void addPanel(std::vector<ControlSpec>& c, const PanelLayout& p) {
    for (int k = 1; k <= p.columns; ++k) {
        const int centre = p.base + p.pitch * k;
        const bool shifted = k == p.shiftedColumn;
        const int width = shifted ? p.shiftedWidth : p.captionWidth;
        const int left = centre - p.captionWidth / 2 - (shifted ? p.shift : 0);
        c.push_back(text(p.captions[k - 1], SS_CENTER, "", left, p.captionY, width, p.captionHeight, false));
        c.push_back(bar(p.bars[k - 1], SBS_VERT, static_cast<int>(centre - 8.5), p.barY, 17, 80, false));
        c.push_back(text(p.values[k - 1], SS_CENTER, "", centre - 20, p.valueY, 40, 17, false));
    }
}

std::vector<ControlSpec> makeControls() {
    std::vector<ControlSpec> c;
    c.push_back({control::kPanel, "STATIC", SS_OWNERDRAW | SS_NOTIFY, "", 75, 25, 670, 260, true, true, false, kAnsi});
    c.push_back(list(control::kAlgorithmSelector, 5, 335, 225, 200));
    c.push_back(button(73, "Import PVC", 5, 405, 105, 21, true));
    c.push_back(button(74, "Export PVC", 120, 405, 105, 21, true));
    c.push_back(text(control::kInfo, SS_LEFT, "", 270, 370, 400, 81, false));
    c.push_back({control::kProgress, PROGRESS_CLASSA, PBS_SMOOTH, "", 5, 455, 225, 15, false, true, false, kAnsi});
    c.push_back(button(control::kUndo, "Undo", 5, 375, 105, 21, true, false));
    c.push_back(button(control::kRedo, "Redo", 120, 375, 105, 21, true, false));
    c.push_back(button(80, "Preview", 675, 410, 85, 20, false));
    // View controls.
    c.push_back(bar(11, SBS_VERT, 755, 25, 17, 260, true));
    c.push_back(bar(12, SBS_VERT, 5, 25, 17, 260, true));
    c.push_back(bar(13, SBS_HORZ, 75, 310, 670, 17, true));
    c.push_back(button(14, "+", 5, 290, 17, 17, true));
    c.push_back(button(15, "-", 5, 310, 17, 17, true));
    c.push_back(button(16, "-", 33, 310, 17, 17, true));
    c.push_back(button(17, "+", 53, 310, 17, 17, true));
    c.push_back(text(18, SS_LEFT, "Spectrogram", 380, 5, 80, 17));
    c.push_back(text(19, SS_RIGHT, "22000", 27, 23, 40, 17));
    c.push_back(text(20, SS_RIGHT, "0", 27, 273, 40, 17));
    c.push_back(text(21, SS_LEFT, "00:00.000", 74, 290, 70, 17));
    c.push_back(text(22, SS_RIGHT, "00:00.000", 675, 290, 70, 17));
    c.push_back(text(23, SS_LEFT, "[Hz]", 45, 147, 25, 17));
    c.push_back(text(24, SS_LEFT, "Time", 400, 290, 35, 17));
    c.push_back(button(96, "Zoom", 180, 5, 36, 20, true));
    c.push_back(button(97, "Zoom All", 220, 5, 46, 20, true));
    c.push_back(button(98, "Zoom x2", 270, 5, 46, 20, true));
    c.push_back(button(99, "Zoom x0.5", 320, 5, 54, 20, true));
    c.push_back(tick(100, kRadio | WS_GROUP, "Lin", 540, 5, 45, 20, true, true, true));
    c.push_back(tick(101, kRadio, "Log", 595, 5, 45, 20, true, true, false));
    c.push_back(text(106, SS_LEFT, "Right-click to turn the zoom off", 30, 5, 160, 17));
    c.push_back(button(40, "Create PVC", 675, 435, 85, 20, false));
    c.push_back(button(56, "Show Hum", 675, 410, 85, 20, false));
    c.push_back(button(64, "Advanced >", 675, 335, 85, 20, false));
    // Tracker panel (algorithm 4).
    static const int trackerCaptions[] = {25, 26, 27, 28, 29, 103};
    static const int trackerBars[] = {30, 31, 32, 33, 34, 104};
    static const int trackerValues[] = {35, 36, 37, 38, 39, 105};
    addPanel(c, {220, 70, trackerCaptions, trackerBars, trackerValues, 6, 335, 70, 26, 3, 5, 70, 367, 450});
    // Processing-library panel (algorithm 3).
    static const int libraryCaptions[] = {41, 42, 43, 44, 45};
    static const int libraryBars[] = {46, 47, 48, 49, 50};
    static const int libraryValues[] = {51, 52, 53, 54, 55};
    addPanel(c, {230, 80, libraryCaptions, libraryBars, libraryValues, 5, 330, 70, 39, 2, 10, 90, 374, 458});
    // Zoom options (algorithm 8).
    c.push_back(tick(57, kCheck, "Zoom Frequency", 270, 335, 130, 20, true, true, true));
    c.push_back(tick(58, kCheck, "Zoom Time", 420, 335, 95, 20, true, true, true));
    c.push_back(text(62, SS_LEFT, "Resolution", 270, 385, 80, 20));
    c.push_back(list(control::kResolution, 270, 405, 80, 140));
    c.push_back(text(63, SS_LEFT, "Windowing Function", 360, 385, 120, 20));
    c.push_back(list(control::kWindowing, 360, 405, 100, 80));
    c.push_back(button(61, "Update", 470, 405, 60, 21, true));
    // PVC tools (algorithm 6).
    c.push_back(tick(65, kCheck, "Show PVC Points", 270, 335, 127, 20, false, true, false));
    c.push_back(tick(66, kCheck, "Move PVC point", 447, 335, 121, 20, false, false, false));
    c.push_back(tick(67, kRadio | WS_GROUP, "Insert Points", 270, 355, 105, 20, false, true, false));
    c.push_back(tick(68, kRadio, "Chart PVC", 270, 375, 105, 20, false, true, false));
    c.push_back(tick(69, kRadio, "Delete PVC Points", 270, 395, 131, 20, false, true, false));
    c.push_back(tick(70, kRadio, "Offset PVC Points", 270, 415, 127, 20, false, false, false));
    c.push_back(tick(71, kRadio, "Smoothing PVC", 270, 435, 118, 20, false, false, false));
    // SDPvc panel (algorithm 7).
    static const int sdCaptions[] = {81, 82, 83, 84, 85};
    static const int sdBars[] = {86, 87, 88, 89, 90};
    static const int sdValues[] = {91, 92, 93, 94, 95};
    addPanel(c, {230, 80, sdCaptions, sdBars, sdValues, 5, 335, 70, 28, 3, 5, 70, 367, 450});
    // The precise detectors' choice (algorithms 4 and 7), above "Preview"
    // and "Create PVC", right of every column the two panels show.
    c.push_back(tick(control::kPrecise, kCheck, "Precise", 675, 385, 85, 20, false, true, false));
    return c;
}

}  // namespace

const std::vector<ControlSpec>& editorControls() {
    static const std::vector<ControlSpec> controls = makeControls();
    return controls;
}

std::vector<int> panelControls(int algorithm) {
    switch (algorithm) {
        case 4: return {25, 26, 27, 28, 29, 103, 30, 31, 32, 33, 34, 104, 35, 36, 37, 38, 39, 105, 40, control::kPrecise};
        case 3: return {41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 40, 64};
        // The plain detector shows only the first three columns of the
        // SDPvc panel (the precise one four).
        case 7: return {81, 82, 83, 86, 87, 88, 91, 92, 93, 80, 40, control::kPrecise};
        case 8: return {57, 58, 59, 60, 61, 62, 63};
        case 6: return {65, 66, 67, 68, 69, 70, 71};
        default: return {};
    }
}

}  // namespace wowfix
