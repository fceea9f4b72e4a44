// The editor shown through X11 inside a host's window: run under a display
// (xvfb-run in the tests); without one the tests are skipped.

#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "editor/win32/SoftObjects.h"
#include "editor/x11/MessageBoxLayout.h"
#include "tests/host/PluginHost.h"

// Google Test first: Xlib's macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include "tests/editor/X11TestEvents.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
        display = XOpenDisplay(nullptr);
        if (display == nullptr) GTEST_SKIP() << "cannot open the display";
        const int screen = DefaultScreen(display);
        hostWindow = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 800, 500, 0,
                                         BlackPixel(display, screen), WhitePixel(display, screen));
        XMapWindow(display, hostWindow);
        XSync(display, False);
    }
    void TearDown() override {
        if (display == nullptr) return;
        XDestroyWindow(display, hostWindow);
        XCloseDisplay(display);
    }
    void click(Window target, int x, int y) { wowfix::test::clickThroughServer(display, target, x, y); }

    Display* display = nullptr;
    Window hostWindow = 0;
};

TEST_F(X11Editor, OpensInsideTheHostsWindowAnswersAClickAndShowsTheSoftwarePicture) {
    wowfix::test::PluginHost host;
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow));
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, parent), 1);
    wowfix::EditorWindow* editor = host.plugin().editorWindow();
    const Window shown = editor->x11Window();
    ASSERT_NE(shown, 0u);
    EXPECT_EQ(wowfix::test::parentOf(display, shown), hostWindow);

    // A click on "Log" (595, 5) through the X server.
    click(shown, 600, 12);
    host.dispatch(effEditIdle);
    EXPECT_EQ(SendMessageA(editor->control(101), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(editor->control(100), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    host.dispatch(effEditIdle);
    XSync(display, False);

    wowfix::soft::Picture picture;
    ASSERT_TRUE(wowfix::soft::takePicture(editor->mainWindow(), picture));
    XImage* image = XGetImage(display, shown, 0, 0, 780, 470, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    long long differing = 0;
    for (int y = 0; y < 470; ++y)
        for (int x = 0; x < 780; ++x)
            differing += (XGetPixel(image, x, y) & 0xFFFFFF) != picture.pixels[static_cast<size_t>(y) * 780 + x];
    XDestroyImage(image);
    EXPECT_EQ(differing, 0);
    host.dispatch(effEditClose);
    EXPECT_EQ(editor->x11Window(), 0u);
}

TEST_F(X11Editor, TheAlgorithmListDropsOnAClickAndTheClickedEntryIsChosen) {
    wowfix::test::PluginHost host;
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow));
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, parent), 1);
    wowfix::EditorWindow* editor = host.plugin().editorWindow();
    const Window shown = editor->x11Window();
    HWND selector = editor->control(72);
    ASSERT_NE(selector, nullptr);
    const int entry0 = static_cast<int>(SendMessageA(selector, CB_GETCURSEL, 0, 0));

    // The list is the line at (5, 335), 225 wide; its entries drop below it
    // over the Undo and Redo buttons, 13 pixels each.
    click(shown, 100, 345);
    host.dispatch(effEditIdle);
    ASSERT_TRUE(selector->dropped);
    wowfix::soft::Picture picture;
    ASSERT_TRUE(wowfix::soft::takePicture(editor->mainWindow(), picture));
    const int listY = 335 + wowfix::soft::kComboLineHeight;
    EXPECT_EQ(picture.pixels[static_cast<size_t>(listY) * 780 + 3 + 5], 0u) << "the list's frame";

    const int entry = 3;
    click(shown, 100, listY + 1 + entry * 13 + 6);
    host.dispatch(effEditIdle);
    EXPECT_FALSE(selector->dropped);
    EXPECT_EQ(SendMessageA(selector, CB_GETCURSEL, 0, 0), entry);
    EXPECT_NE(entry, entry0);

    // Closed, the list is only its line: a press below it reaches the Undo
    // button's place, not the list.
    click(shown, 50, 385);
    host.dispatch(effEditIdle);
    EXPECT_FALSE(selector->dropped);
    EXPECT_EQ(SendMessageA(selector, CB_GETCURSEL, 0, 0), entry);
    // A press beside a dropped list closes it and chooses nothing.
    click(shown, 100, 345);
    host.dispatch(effEditIdle);
    ASSERT_TRUE(selector->dropped);
    click(shown, 600, 200);
    host.dispatch(effEditIdle);
    EXPECT_FALSE(selector->dropped);
    EXPECT_EQ(SendMessageA(selector, CB_GETCURSEL, 0, 0), entry);
    host.dispatch(effEditClose);
}


TEST_F(X11Editor, TheFileDialogIsAnsweredWithTheKeyboard) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "wowfix-x11-dialog";
    std::filesystem::create_directories(folder);
    { std::ofstream(folder / "take.pvc") << "0 1.0\n"; }
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    wowfix::test::PluginHost host;
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow))), 1);
    // Down twice picks the file below "../"; Return accepts it.
    std::thread user(wowfix::test::pressKeysIn, "Import PVC", std::vector<KeySym>{XK_Down, XK_Down, XK_Return});
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Import PVC";
    const BOOL chosen = GetOpenFileNameA(&dialog);
    user.join();
    std::filesystem::current_path(before);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(std::filesystem::path(file).filename(), "take.pvc");
    host.dispatch(effEditClose);
    std::filesystem::remove_all(folder);
}

TEST_F(X11Editor, TheRootWindowAsParentGivesATopLevelWindowThatCloseRequestsOnlyHide) {
    wowfix::test::PluginHost host;
    const Window rootWindow = DefaultRootWindow(display);
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(rootWindow))), 1);
    wowfix::EditorWindow* editor = host.plugin().editorWindow();
    const Window shown = editor->x11Window();
    ASSERT_NE(shown, 0u);
    EXPECT_EQ(wowfix::test::parentOf(display, shown), rootWindow);
    char* name = nullptr;
    ASSERT_NE(XFetchName(display, shown, &name), 0);
    EXPECT_STREQ(name, "wowfix");
    XFree(name);

    // The window manager's close request hides the window; the editor stays open.
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = shown;
    request.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, shown, False, NoEventMask, &request);
    XSync(display, False);
    host.dispatch(effEditIdle);
    XWindowAttributes attributes{};
    ASSERT_NE(XGetWindowAttributes(display, shown, &attributes), 0);
    EXPECT_EQ(attributes.map_state, IsUnmapped);
    EXPECT_TRUE(editor->isOpen());
    host.dispatch(effEditClose);
}

TEST_F(X11Editor, MessageBoxesAreAnsweredOnTheScreenWhileTheWindowIsShown) {
    wowfix::test::PluginHost host;
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow))), 1);
    std::thread escape(wowfix::test::pressKeysIn, "Export PVC", std::vector<KeySym>{XK_Escape});
    EXPECT_EQ(MessageBoxA(nullptr, "The file exists.\nReplace it?", "Export PVC", MB_YESNO), IDNO);
    escape.join();
    std::thread enter(wowfix::test::pressKeysIn, "Info", std::vector<KeySym>{XK_Return});
    EXPECT_EQ(MessageBoxA(nullptr, "Wybrano k_ofl_hum.", "Info", MB_OK), IDOK);
    enter.join();
    host.dispatch(effEditClose);
    // Without a window on the screen a box answers its first button at once.
    EXPECT_EQ(MessageBoxA(nullptr, "Replace it?", "Export PVC", MB_YESNO), IDYES);
    wowfix::soft::takeMessageBoxes();
}

TEST(MessageBoxLayout, WrapsLongTextKeepsLineBreaksAndPlacesTheButtonsOfItsType) {
    const std::string longWord(150, 'x');
    const wowfix::MessageBoxLayout layout =
        wowfix::layoutMessageBox("first line\n" + longWord + "\nend of a sentence that " + std::string(60, 'y'), MB_YESNOCANCEL);
    ASSERT_GE(layout.lines.size(), 6u);
    EXPECT_EQ(layout.lines[0], "first line");
    EXPECT_EQ(layout.lines[1] + layout.lines[2] + layout.lines[3], longWord);  // cut every 60 characters
    for (const std::string& line : layout.lines)
        EXPECT_LE(line.size(), static_cast<size_t>(wowfix::MessageBoxLayout::kMessageColumns));
    ASSERT_EQ(layout.buttons.size(), 3u);
    EXPECT_EQ(layout.buttons[0].answer, IDYES);
    EXPECT_EQ(layout.escapeAnswer(), IDCANCEL);
    for (const wowfix::MessageBoxButton& b : layout.buttons) {
        EXPECT_GE(b.place.left, 0);
        EXPECT_LE(b.place.right, layout.width);
        EXPECT_LE(b.place.bottom, layout.height);
        const wowfix::MessageBoxButton* hit = layout.buttonAt((b.place.left + b.place.right) / 2, b.place.top + 1);
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(hit->answer, b.answer);
    }
    EXPECT_EQ(layout.buttonAt(0, 0), nullptr);
    EXPECT_EQ(wowfix::layoutMessageBox("yes or no", MB_YESNO).escapeAnswer(), IDNO);
    // A text of thousands of lines is cut, the box stays on a screen.
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "line\n";
    EXPECT_EQ(wowfix::layoutMessageBox(many, MB_OK).lines.size(),
              static_cast<size_t>(wowfix::MessageBoxLayout::kMaxLines));
}

TEST_F(X11Editor, AnIdThatIsNoWindowOpensNothing) {
    wowfix::test::PluginHost host;
    void* bogus = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x7FFFFFF));
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, bogus), 0);
    EXPECT_EQ(wowfix::EditorWindow::openWindows(), 0);
}

}  // namespace
