// Every control of the editor window with its identifier, kind, caption,
// place, size and initial state, as the window's users rely on them.

#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "editor/win32/SoftObjects.h"
#include "spectral/SpectrogramStore.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wowfix::EditorWindow;

enum Kind { Owner, Text, Right, Centre, VBar, HBar, Push, Check, Radio, List, Progress };

struct Expected {
    int id;
    Kind kind;
    const char* caption;
    int x, y, width, height;
    bool visible, enabled, checked;
};

const Expected kTable[] = {
    {10, Owner, "", 75, 25, 670, 260, true, true, false},
    {11, VBar, "", 755, 25, 17, 260, true, true, false},
    {12, VBar, "", 5, 25, 17, 260, true, true, false},
    {13, HBar, "", 75, 310, 670, 17, true, true, false},
    {14, Push, "+", 5, 290, 17, 17, true, true, false},
    {15, Push, "-", 5, 310, 17, 17, true, true, false},
    {16, Push, "-", 33, 310, 17, 17, true, true, false},
    {17, Push, "+", 53, 310, 17, 17, true, true, false},
    {18, Text, "Spectrogram", 380, 5, 80, 17, true, true, false},
    {19, Right, "22000", 27, 23, 40, 17, true, true, false},
    {20, Right, "0", 27, 273, 40, 17, true, true, false},
    {21, Text, "00:00.000", 74, 290, 70, 17, true, true, false},
    {22, Right, "00:00.000", 675, 290, 70, 17, true, true, false},
    {23, Text, "[Hz]", 45, 147, 25, 17, true, true, false},
    {24, Text, "Time", 400, 290, 35, 17, true, true, false},
    {40, Push, "Create PVC", 675, 435, 85, 20, false, true, false},
    {56, Push, "Show Hum", 675, 410, 85, 20, false, true, false},
    {64, Push, "Advanced >", 675, 335, 85, 20, false, true, false},
    {72, List, "", 5, 335, 225, 200, true, true, false},
    {73, Push, "Import PVC", 5, 405, 105, 21, true, true, false},
    {74, Push, "Export PVC", 120, 405, 105, 21, true, true, false},
    {75, Text, "", 270, 370, 400, 81, false, true, false},
    {77, Progress, "", 5, 455, 225, 15, false, true, false},
    {78, Push, "Undo", 5, 375, 105, 21, true, false, false},
    {79, Push, "Redo", 120, 375, 105, 21, true, false, false},
    {96, Push, "Zoom", 180, 5, 36, 20, true, true, false},
    {97, Push, "Zoom All", 220, 5, 46, 20, true, true, false},
    {98, Push, "Zoom x2", 270, 5, 46, 20, true, true, false},
    {99, Push, "Zoom x0.5", 320, 5, 54, 20, true, true, false},
    {100, Radio, "Lin", 540, 5, 45, 20, true, true, true},
    {101, Radio, "Log", 595, 5, 45, 20, true, true, false},
    {106, Text, "Right-click to turn the zoom off", 30, 5, 160, 17, true, true, false},
    {57, Check, "Zoom Frequency", 270, 335, 130, 20, true, true, true},
    {58, Check, "Zoom Time", 420, 335, 95, 20, true, true, true},
    {62, Text, "Resolution", 270, 385, 80, 20, true, true, false},
    {65, Check, "Show PVC Points", 270, 335, 127, 20, false, true, false},
    {66, Check, "Move PVC point", 447, 335, 121, 20, false, false, false},
    {67, Radio, "Insert Points", 270, 355, 105, 20, false, true, false},
    {68, Radio, "Chart PVC", 270, 375, 105, 20, false, true, false},
    {69, Radio, "Delete PVC Points", 270, 395, 131, 20, false, true, false},
    {70, Radio, "Offset PVC Points", 270, 415, 127, 20, false, false, false},
    {71, Radio, "Smoothing PVC", 270, 435, 118, 20, false, false, false},
    {80, Push, "Preview", 675, 410, 85, 20, false, true, false},
    {107, Check, "Precise", 675, 385, 85, 20, false, true, false},
    // Parameter panels: column k centred on base + pitch * k; a bar starts
    // 8.5 pixels left of the centre, truncated.
    {25, Centre, "", 220 + 70 - 35, 335, 70, 26, false, true, false},
    {27, Centre, "", 220 + 210 - 35 - 5, 335, 70, 26, false, true, false},
    {30, VBar, "", 290 - 9, 367, 17, 80, false, true, false},
    {104, VBar, "", 220 + 420 - 9, 367, 17, 80, false, true, false},
    {105, Centre, "", 640 - 20, 450, 40, 17, false, true, false},
    {42, Centre, "", 230 + 160 - 45, 330, 90, 39, false, true, false},
    {46, VBar, "", 310 - 9, 374, 17, 80, false, true, false},
    {55, Centre, "", 630 - 20, 458, 40, 17, false, true, false},
    {83, Centre, "", 230 + 240 - 40, 335, 70, 28, false, true, false},
    {88, VBar, "", 470 - 9, 367, 17, 80, false, true, false},
};

bool hasKind(HWND w, Kind kind) {
    const std::string cls = w->className;
    const DWORD style = w->style;
    switch (kind) {
        case Owner: return cls == "STATIC" && (style & SS_TYPEMASK) == SS_OWNERDRAW;
        case Text: return cls == "STATIC" && (style & SS_TYPEMASK) == SS_LEFT;
        case Right: return cls == "STATIC" && (style & SS_TYPEMASK) == SS_RIGHT;
        case Centre: return cls == "STATIC" && (style & SS_TYPEMASK) == SS_CENTER;
        case VBar: return cls == "SCROLLBAR" && (style & SBS_VERT) != 0;
        case HBar: return cls == "SCROLLBAR" && (style & SBS_VERT) == 0;
        case Push: return cls == "BUTTON" && (style & BS_TYPEMASK) == BS_PUSHBUTTON;
        case Check: return cls == "BUTTON" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        case Radio: return cls == "BUTTON" && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
        case List: return cls == "COMBOBOX" && (style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
        case Progress: return cls == PROGRESS_CLASSA && (style & PBS_SMOOTH) != 0;
    }
    return false;
}

class EditorControls : public ::testing::Test {
protected:
    void SetUp() override {
        editor = host.plugin().editorWindow();
        ASSERT_NE(editor, nullptr);
        ASSERT_EQ(host.dispatch(effEditOpen), 1);
    }
    void TearDown() override { host.dispatch(effEditClose); }

    wowfix::test::PluginHost host;
    EditorWindow* editor = nullptr;
};

TEST_F(EditorControls, EveryControlOfTheTableHasItsKindCaptionPlaceAndInitialState) {
    for (const Expected& e : kTable) {
        SCOPED_TRACE("control " + std::to_string(e.id));
        HWND w = editor->control(e.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(GetDlgItem(editor->mainWindow(), e.id), w);
        EXPECT_TRUE(hasKind(w, e.kind));
        char caption[64];
        GetWindowTextA(w, caption, sizeof caption);
        if (e.kind != List) {
            EXPECT_STREQ(caption, e.caption);
        }
        RECT r{};
        ASSERT_TRUE(GetWindowRect(w, &r));
        EXPECT_EQ(r.left, e.x);
        EXPECT_EQ(r.top, e.y);
        EXPECT_EQ(r.right - r.left, e.width);
        EXPECT_EQ(r.bottom - r.top, e.height);
        EXPECT_EQ((w->style & WS_VISIBLE) != 0, e.visible);
        EXPECT_EQ(IsWindowEnabled(w) != 0, e.enabled);
        if (e.kind == Check || e.kind == Radio) {
            EXPECT_EQ(SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED, e.checked);
        }
        // Buttons, texts and lists in the variable font, the rest in the GUI font.
        const bool variable = e.kind == Push || e.kind == Text || e.kind == Right || e.kind == Centre ||
                              e.kind == List || e.kind == Owner || e.kind == Progress;
        EXPECT_EQ(w->font, static_cast<HFONT>(GetStockObject(variable ? ANSI_VAR_FONT : DEFAULT_GUI_FONT)));
    }
}

TEST_F(EditorControls, ListsHoldTheirEntriesAndShowTheStoresSettings) {
    HWND selector = editor->control(72);
    ASSERT_EQ(SendMessageA(selector, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(SendMessageA(selector, CB_GETCURSEL, 0, 0), 0);
    char entry[64];
    SendMessageA(selector, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "High-Frequency Pilot Tone Tracking");
    const wowfix::SpectrogramStore& store = host.plugin().spectrogram();
    HWND resolution = editor->control(59);
    const LRESULT shown = SendMessageA(resolution, CB_GETCURSEL, 0, 0);
    ASSERT_GE(shown, 0);
    SendMessageA(resolution, CB_GETLBTEXT, static_cast<WPARAM>(shown), reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(std::stoi(entry), store.fftLength());
    EXPECT_EQ(SendMessageA(editor->control(60), CB_GETCURSEL, 0, 0), store.windowType());
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(editor->control(31), SB_CTL, &info);
    EXPECT_EQ(info.nMin, 0);
    // One page past 1000, so that position 1000 (value 0) can be reached.
    EXPECT_EQ(info.nMax, 1001);
    EXPECT_EQ(info.nPage, 2u);
    EXPECT_EQ(info.nPos, 500);
    info.fMask = SIF_POS;
    info.nPos = 5000;
    SetScrollInfo(editor->control(31), SB_CTL, &info, TRUE);
    EXPECT_EQ(GetScrollInfo(editor->control(31), SB_CTL, &info) ? info.nPos : -1, 1000);
}

TEST_F(EditorControls, ClicksReachTheControlsAndDisabledOnesCannotBeChosen) {
    using namespace wowfix;
    // The radio group: "Log" clears "Lin".
    ASSERT_TRUE(soft::clickControl(editor->mainWindow(), 101));
    EXPECT_EQ(SendMessageA(editor->control(100), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(editor->control(101), BM_GETCHECK, 0, 0), BST_CHECKED);
    // The logarithmic display has no algorithms and no zoom options.
    EXPECT_FALSE(soft::clickControl(editor->mainWindow(), 72, 4));
    EXPECT_FALSE(soft::clickControl(editor->mainWindow(), 57));
    ASSERT_TRUE(soft::clickControl(editor->mainWindow(), 100));
    EXPECT_TRUE(editor->linearScale());
    ASSERT_TRUE(soft::clickControl(editor->mainWindow(), 57));
    EXPECT_EQ(SendMessageA(editor->control(57), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(soft::clickControl(editor->mainWindow(), 78));  // "Undo" is disabled
    // Choosing the pilot-tone tracker shows its panel with "Create PVC".
    host.plugin().spectrogram().setSampleRate(48000.0f);
    ASSERT_TRUE(soft::clickControl(editor->mainWindow(), 72, 4));
    EXPECT_EQ(editor->algorithm(), 4);
    EXPECT_TRUE(IsWindowVisible(editor->control(30)));
    EXPECT_TRUE(IsWindowVisible(editor->control(40)));
    EXPECT_FALSE(IsWindowVisible(editor->control(57)));
    // The manual tools: the two disabled ones stay out of reach.
    ASSERT_TRUE(soft::clickControl(editor->mainWindow(), 72, 1));
    EXPECT_FALSE(soft::clickControl(editor->mainWindow(), 70));
    EXPECT_FALSE(soft::clickControl(editor->mainWindow(), 71));
    EXPECT_FALSE(soft::clickControl(editor->mainWindow(), 72, 6));
}

}  // namespace
