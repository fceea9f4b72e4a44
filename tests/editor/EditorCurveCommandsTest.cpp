// The window's curve commands: "Create PVC", "Undo" and "Redo" over the
// curve tools' steps, "Import PVC" and "Export PVC" through the file
// dialogs, with the host notifying when asked.

#include "editor/EditorWindow.h"
#include "editor/HeadlessWindowActions.h"
#include "editor/win32/SoftInput.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "tests/host/PluginHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using wowfix::EditorWindow;
namespace fs = std::filesystem;

// What the soft layer's dialogs and boxes were asked, and how they answer.
std::vector<std::string> dialogTitles;
std::string dialogAnswer;
int boxAnswer = IDYES;
std::vector<std::string> boxTexts;

bool recordingDialog(const char* title, bool, std::string& path) {
    dialogTitles.push_back(title);
    path = dialogAnswer;
    return !path.empty();
}

int recordingBox(const char*, const char* text, UINT) {
    boxTexts.push_back(text);
    return boxAnswer;
}

std::string contentOf(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class EditorCurveCommands : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("wowfix-curve-commands-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        dialogTitles.clear();
        boxTexts.clear();
        dialogAnswer.clear();
        boxAnswer = IDYES;
        wowfix::soft::setInteractiveFileDialog(recordingDialog);
        wowfix::soft::setInteractiveMessageBox(recordingBox);
        editor = host.plugin().editorWindow();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(host.openEditorAtWork(1, kFrames));
        ASSERT_TRUE(host.plugin().pvcReady());
        boxTexts.clear();
    }
    void TearDown() override {
        host.dispatch(effEditClose);
        wowfix::soft::setInteractiveFileDialog(nullptr);
        wowfix::soft::setInteractiveMessageBox(nullptr);
        fs::remove_all(folder);
    }

    bool click(int id, int item = -1) { return wowfix::soft::clickControl(editor->mainWindow(), id, item); }
    void command(int id) {
        SendMessageA(editor->mainWindow(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(editor->control(id)));
    }
    bool enabled(int id) { return IsWindowEnabled(editor->control(id)) != FALSE; }
    std::string text(int id) {
        char buffer[64] = {};
        GetWindowTextA(editor->control(id), buffer, sizeof buffer);
        return buffer;
    }
    wowfix::EditorView& view() { return host.plugin().headlessEditor().view(); }
    wowfix::PvcCurve& curve() { return host.plugin().curve(); }
    wowfix::UndoHistory& history() { return host.plugin().headlessEditor().history(); }
    void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

    static constexpr int kFrames = 441000;
    wowfix::test::PluginHost host;
    EditorWindow* editor = nullptr;
    fs::path folder;
};

TEST_F(EditorCurveCommands, UndoAndRedoWalkTheInsertedPointsAndFollowTheHistory) {
    ASSERT_TRUE(click(72, 1));
    ASSERT_TRUE(click(67));
    ASSERT_EQ(editor->tool(), 5);
    const int before = curve().count();
    const int start = history().position();
    // Two points inserted with two clicks at different places of the panel.
    ASSERT_TRUE(wowfix::soft::drag(editor->panelWindow(), 200, 60, 200, 60));
    ASSERT_TRUE(wowfix::soft::drag(editor->panelWindow(), 400, 200, 400, 200));
    const int after = curve().count();
    ASSERT_GT(after, before);
    ASSERT_GT(history().position(), start);
    EXPECT_TRUE(enabled(78));
    EXPECT_FALSE(enabled(79));

    // Back step by step to where the clicks began, then forward again.
    std::vector<int> counts{after};
    while (history().position() > start) {
        ASSERT_TRUE(click(78));
        counts.push_back(curve().count());
        EXPECT_TRUE(enabled(79));
    }
    EXPECT_EQ(curve().count(), before);
    EXPECT_EQ(enabled(78), history().canUndo());
    while (history().canRedo()) {
        counts.pop_back();
        ASSERT_TRUE(click(79));
        EXPECT_EQ(curve().count(), counts.back());
    }
    EXPECT_EQ(curve().count(), after);
    EXPECT_FALSE(enabled(79));
    EXPECT_TRUE(enabled(78));

    // Nothing to redo: the command (as a host's script sends it past the
    // disabled button) changes nothing.
    command(79);
    EXPECT_EQ(curve().count(), after);

    // With every snapshot gone neither button can do anything.
    host.plugin().headlessEditor().deleteSnapshots();
    EXPECT_FALSE(enabled(78));
    EXPECT_FALSE(enabled(79));
    EXPECT_FALSE(click(78));
    command(78);
    EXPECT_EQ(curve().count(), after);
    EXPECT_FALSE(enabled(78));
}

TEST_F(EditorCurveCommands, CreatePvcAsksForTheTrackerOverTheWholeSelection) {
    host.plugin().spectrogram().setSampleRate(48000.0f);
    // A zoomed time view first: the command shows the whole selection again.
    ASSERT_TRUE(click(17));
    host.notify();
    ASSERT_LT(view().viewLength, kFrames);
    ASSERT_TRUE(click(72, 4));
    ASSERT_EQ(editor->algorithm(), wowfix::kPilotToneTracking);
    host.plugin().setUseRuntimeLibrary(true);
    ASSERT_TRUE(click(40));
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kPilotToneTracking);
    EXPECT_EQ(static_cast<int>(host.mode()), wowfix::kPilotToneTracking);
    EXPECT_FALSE(host.plugin().usesRuntimeLibrary());
    EXPECT_EQ(view().viewOrigin, 0);
    EXPECT_EQ(view().rangeStart, 0);
    EXPECT_EQ(view().rangeEnd, kFrames);
    EXPECT_EQ(view().timeCentre, kFrames / 2.0);
    EXPECT_EQ(view().timeHalfSpan, kFrames / 2.0);
    EXPECT_EQ(text(21), "0:00.000");
    EXPECT_EQ(text(22), "0:10.000");
    EXPECT_TRUE(IsWindowVisible(editor->control(77)));
    EXPECT_NE(host.plugin().toneTracker(), nullptr);
}

TEST_F(EditorCurveCommands, CreatePvcOfTheSpectralDetectorWaitsForAPreview) {
    ASSERT_TRUE(click(72, 2));
    ASSERT_EQ(editor->algorithm(), wowfix::kSpectralDetection);
    const int count = curve().count();
    const int position = history().position();
    EXPECT_TRUE(IsWindowVisible(editor->control(40)));
    EXPECT_FALSE(enabled(40));
    EXPECT_FALSE(click(40));
    EXPECT_TRUE(boxTexts.empty());
    EXPECT_EQ(curve().count(), count);
    EXPECT_EQ(history().position(), position);
    // Leaving the detector hides the button with its panel.
    ASSERT_TRUE(click(72, 5));
    EXPECT_FALSE(IsWindowVisible(editor->control(40)));
}

TEST_F(EditorCurveCommands, ImportIsOneUndoStepOnceItsPassHasRun) {
    const fs::path file = folder / "take.pvc";
    writeFile(file, "0 1.0\n100000 1.01\n200000 0.99\n441000 1.0\n");
    dialogAnswer = file.string();
    const int position = history().position();
    ASSERT_TRUE(click(73));
    ASSERT_EQ(dialogTitles, std::vector<std::string>{"Open PVC File"});
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kViewAcquisition);
    // Nothing is recorded before the pass has loaded the file.
    EXPECT_EQ(history().position(), position);
    host.notify();
    editor->idle();
    EXPECT_EQ(history().position(), position + 1);
    EXPECT_EQ(history().kindAt(position), wowfix::undoKindImported);
    EXPECT_EQ(curve().valueAtPosition(100000), 1.01f);
    EXPECT_TRUE(enabled(78));
    EXPECT_TRUE(boxTexts.empty());
    // The tool the user worked with is back after the request.
    EXPECT_EQ(editor->tool(), 0);
}

TEST_F(EditorCurveCommands, ImportRefusesAMissingOrUnreadableFileAndKeepsTheCurve) {
    const std::vector<float> kept{curve().valueAtPosition(0), curve().valueAtPosition(100000)};
    const int position = history().position();

    dialogAnswer = (folder / "missing.pvc").string();
    ASSERT_TRUE(click(73));
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_NE(boxTexts[0].find("File not found."), std::string::npos);
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kNoTask);

    boxTexts.clear();
    const fs::path garbage = folder / "garbage.pvc";
    writeFile(garbage, "this is no curve\n\x01\x02\n");
    dialogAnswer = garbage.string();
    ASSERT_TRUE(click(73));
    host.notify();
    editor->idle();
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(boxTexts[0], host.plugin().lastMessage());
    EXPECT_NE(boxTexts[0].find("garbage.pvc"), std::string::npos);
    EXPECT_EQ(history().position(), position);
    EXPECT_EQ(curve().valueAtPosition(0), kept[0]);
    EXPECT_EQ(curve().valueAtPosition(100000), kept[1]);

    // A cancelled dialog does nothing.
    boxTexts.clear();
    dialogAnswer.clear();
    ASSERT_TRUE(click(73));
    EXPECT_TRUE(boxTexts.empty());
    EXPECT_EQ(host.plugin().headlessEditor().pendingTask(), wowfix::kNoTask);
}

TEST_F(EditorCurveCommands, ExportAsksBeforeReplacingAFileAndTellsAFailedWrite) {
    const fs::path file = folder / "out.pvc";
    writeFile(file, "old contents\n");
    dialogAnswer = file.string();

    boxAnswer = IDNO;
    ASSERT_TRUE(click(74));
    ASSERT_EQ(dialogTitles, std::vector<std::string>{"Save PVC File"});
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_NE(boxTexts[0].find("already exists"), std::string::npos);
    EXPECT_EQ(contentOf(file), "old contents\n");

    boxTexts.clear();
    boxAnswer = IDYES;
    ASSERT_TRUE(click(74));
    ASSERT_EQ(boxTexts.size(), 1u);
    // The written file reads back as the curve.
    wowfix::PvcCurve copy;
    copy.setLength(kFrames);
    ASSERT_TRUE(copy.loadPvc(file.string(), false, true));
    EXPECT_EQ(copy.count(), curve().count());
    EXPECT_EQ(curve().filePath().find("out.pvc"), std::string::npos);

    // A name the curve cannot be written to: told, and what is there stays.
    boxTexts.clear();
    const fs::path blocked = folder / "blocked.pvc";
    fs::create_directories(blocked / "inside");
    dialogAnswer = blocked.string();
    ASSERT_TRUE(click(74));
    ASSERT_EQ(boxTexts.size(), 2u);
    EXPECT_NE(boxTexts[1].find("could not be written"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));

    // A folder that does not exist is refused by the dialog.
    boxTexts.clear();
    dialogAnswer = (folder / "nowhere" / "out.pvc").string();
    ASSERT_TRUE(click(74));
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_NE(boxTexts[0].find("Path does not exist."), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
}

// A scripted host's export: the dialog takes the answer given beforehand, and
// the boxes that the action raises answer their first button without asking
// the user on the screen; a user's own click afterwards is asked again.
TEST_F(EditorCurveCommands, AScriptedExportAsksNobodyAndAUsersClickAsksAgain) {
    const fs::path file = folder / "scripted.pvc";
    writeFile(file, "old contents\n");
    boxAnswer = IDNO;
    const std::string path = file.string();
    wowfix::vendor::EditorAction answer{};
    answer.size = sizeof answer;
    answer.kind = wowfix::vendor::kAnswerDialog;
    answer.path = path.c_str();
    ASSERT_TRUE(wowfix::applyEditorAction(*editor, answer));
    wowfix::vendor::EditorAction exportClick{};
    exportClick.size = sizeof exportClick;
    exportClick.kind = wowfix::vendor::kClickControl;
    exportClick.id = 74;
    exportClick.item = -1;
    ASSERT_TRUE(wowfix::applyEditorAction(*editor, exportClick));
    EXPECT_TRUE(dialogTitles.empty());
    EXPECT_TRUE(boxTexts.empty());
    // "Replace it?" was answered Yes: the curve is there.
    EXPECT_NE(contentOf(file), "old contents\n");
    const std::vector<std::string> shown = wowfix::soft::takeMessageBoxes();
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.back().find("already exists"), std::string::npos);

    // The user's click on the same button: the dialog and the box are theirs.
    writeFile(file, "old contents\n");
    dialogAnswer = path;
    ASSERT_TRUE(click(74));
    EXPECT_EQ(dialogTitles, std::vector<std::string>{"Save PVC File"});
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(contentOf(file), "old contents\n");
}

}  // namespace
