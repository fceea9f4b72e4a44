// wowfix-editor-capture.exe PLUGIN.dll PANEL.bmp [WINDOW.bmp]: opens the
// plug-in's real Win32 editor as a VST 2 host does (a top-level window of the
// editor's size, effEditOpen with its handle, messages pumped with
// effEditIdle), copies what the spectrogram panel shows on the screen into
// PANEL.bmp (and the whole editor into WINDOW.bmp), then clicks its controls
// through the plug-in's scripted actions (check boxes and radio buttons change
// as under a user's click, hidden and disabled controls refuse, a file dialog
// answered beforehand and the message box it raises open nothing), closes the
// editor and exits 0. Prints one line per step and exits 1 at the first
// failure. Run under Wine by the Windows CI stage; the pictures are compared
// on Linux.

#include "TestHost.h"
#include "editor/ControlTable.h"
#include "editor/win32/WindowPixels.h"
#include "host/VendorCommands.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using wowfix::test_host::fail;

void pump(AEffect* effect, int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
        Sleep(10);
    }
}

// `pixels` (0x00RRGGBB, rows top to bottom) written as a 24-bit bottom-up
// BMP.
bool writeBmp(const char* path, int width, int height, const std::vector<std::uint32_t>& pixels) {
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(height);
    std::vector<unsigned char> rows(size, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = rows.data() + static_cast<size_t>(height - 1 - y) * stride;
        const std::uint32_t* line = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = line[x];
            row[3 * x] = static_cast<unsigned char>(pixel);
            row[3 * x + 1] = static_cast<unsigned char>(pixel >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(pixel >> 16);
        }
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = size;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4d42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + size;
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&header, sizeof header, 1, out) == 1 &&
                         std::fwrite(rows.data(), size, 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

// The window's client area as it is on the screen, written as a BMP.
bool capture(HWND window, const char* path) {
    int width = 0;
    int height = 0;
    if (!wowfix::window_pixels::clientSize(window, width, height)) return false;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    return wowfix::window_pixels::read(window, width, height, pixels.data()) && writeBmp(path, width, height, pixels);
}

// A click on control `id` (entry `item` of a drop-down list) as a scripted
// host gives it; the plug-in's answer.
bool click(AEffect* effect, int id, int item = -1) {
    wowfix::vendor::EditorAction action{};
    action.size = sizeof action;
    action.kind = wowfix::vendor::kClickControl;
    action.id = id;
    action.item = item;
    return effect->dispatcher(effect, effVendorSpecific, wowfix::vendor::kMagic, wowfix::vendor::kEditorAction, &action,
                              0.0f) != 0;
}

bool answerNextDialog(AEffect* effect, const char* path) {
    wowfix::vendor::EditorAction action{};
    action.size = sizeof action;
    action.kind = wowfix::vendor::kAnswerDialog;
    action.path = path;
    return effect->dispatcher(effect, effVendorSpecific, wowfix::vendor::kMagic, wowfix::vendor::kEditorAction, &action,
                              0.0f) != 0;
}

bool checked(HWND editor, int id) { return SendMessageA(GetDlgItem(editor, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The scripted clicks on the real controls; the first fault, or nullptr.
const char* clickThroughControls(AEffect* effect, HWND editor) {
    // "Zoom Frequency" (57) is ticked when the window opens.
    if (!checked(editor, 57)) return "\"Zoom Frequency\" is not ticked at the start";
    if (!click(effect, 57) || checked(editor, 57)) return "a click did not clear the check box";
    if (!click(effect, 57) || !checked(editor, 57)) return "a second click did not tick the check box again";
    // "Lin" (100) and "Log" (101) are one group of radio buttons.
    if (!click(effect, 101) || !checked(editor, 101) || checked(editor, 100)) return "a click on \"Log\"";
    if (!click(effect, 100) || !checked(editor, 100) || checked(editor, 101)) return "a click on \"Lin\"";
    // "Create PVC" (40) is hidden and "Undo" (78) disabled; the selector has six entries.
    if (click(effect, 40)) return "a click on a hidden button was taken";
    if (click(effect, 78)) return "a click on a disabled button was taken";
    if (click(effect, 72, 6)) return "an entry the selector does not have was chosen";
    if (click(effect, 57, 1)) return "a check box took an entry";
    if (click(effect, 200)) return "a click on a control that does not exist was taken";
    // "Export PVC" into a folder that is not there: the answered dialog
    // refuses it with a message box, which answers itself rather than wait
    // for a user, and nothing is written.
    char folder[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH - 40) return "no temporary folder";
    const std::string nowhere = std::string(folder) + "wowfix-no-such-folder\\curve.pvc";
    if (!answerNextDialog(effect, nowhere.c_str()) || !click(effect, 74)) return "\"Export PVC\" with an answer";
    if (GetFileAttributesA(nowhere.c_str()) != INVALID_FILE_ATTRIBUTES) return "a curve in a folder that is not there";
    return nullptr;
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::printf("usage: wowfix-editor-capture PLUGIN.dll PANEL.bmp [WINDOW.bmp]\n");
        return 2;
    }
    HMODULE module = LoadLibraryA(argv[1]);
    if (module == nullptr) return fail("LoadLibraryA");
    const auto entry = wowfix::test_host::findEntry(module, "VSTPluginMain");
    if (entry == nullptr) return fail("the entry VSTPluginMain");
    AEffect* effect = wowfix::test_host::openEffect(entry);
    if (effect == nullptr) return fail("the effect record");
    if ((effect->flags & effFlagsHasEditor) == 0) return fail("the effect has no editor");

    ERect* size = nullptr;
    if (effect->dispatcher(effect, effEditGetRect, 0, 0, &size, 0.0f) == 0 || size == nullptr)
        return fail("effEditGetRect");
    RECT frame{0, 0, size->right - size->left, size->bottom - size->top};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    AdjustWindowRect(&frame, style, FALSE);

    HINSTANCE self = GetModuleHandleA(nullptr);
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = hostProcedure;
    hostClass.hInstance = self;
    hostClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    hostClass.lpszClassName = "WowfixCaptureHost";
    if (RegisterClassA(&hostClass) == 0) return fail("RegisterClassA of the host window");
    HWND host = CreateWindowExA(0, hostClass.lpszClassName, "wowfix", style, 0, 0, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, self, nullptr);
    if (host == nullptr) return fail("the host window");
    std::printf("host window: %dx%d\n", size->right - size->left, size->bottom - size->top);

    if (effect->dispatcher(effect, effEditOpen, 0, 0, host, 0.0f) == 0) return fail("effEditOpen");
    HWND editor = FindWindowExA(host, nullptr, "OfflineWindowClass", nullptr);
    if (editor == nullptr) return fail("the editor window (class \"OfflineWindowClass\") in the host window");
    HWND panel = GetDlgItem(editor, wowfix::control::kPanel);
    if (panel == nullptr) return fail("the spectrogram panel");
    RECT panelRect{};
    GetWindowRect(panel, &panelRect);
    MapWindowPoints(HWND_DESKTOP, editor, reinterpret_cast<POINT*>(&panelRect), 2);
    std::printf("editor open: panel at (%ld, %ld), %ldx%ld\n", panelRect.left, panelRect.top,
                panelRect.right - panelRect.left, panelRect.bottom - panelRect.top);

    pump(effect, 500);
    UpdateWindow(host);
    pump(effect, 200);
    if (!capture(panel, argv[2])) return fail("the picture of the panel");
    std::printf("panel picture: %s\n", argv[2]);
    if (argc == 4) {
        if (!capture(editor, argv[3])) return fail("the picture of the editor");
        std::printf("editor picture: %s\n", argv[3]);
    }

    if (const char* fault = clickThroughControls(effect, editor)) return fail(fault);
    pump(effect, 100);
    std::printf("scripted clicks: check boxes, radio buttons and refusals as under a user's clicks\n");

    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    if (FindWindowExA(host, nullptr, "OfflineWindowClass", nullptr) != nullptr) return fail("effEditClose left the editor");
    // A host opens the editor again after closing it: the class is registered
    // anew, and unregistered again with the last window.
    if (effect->dispatcher(effect, effEditOpen, 0, 0, host, 0.0f) == 0 ||
        FindWindowExA(host, nullptr, "OfflineWindowClass", nullptr) == nullptr)
        return fail("effEditOpen after effEditClose");
    pump(effect, 100);
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    WNDCLASSA left{};
    if (GetClassInfoA(module, "OfflineWindowClass", &left) != 0) return fail("the window class stays registered");
    std::printf("opened and closed again; the window class is gone\n");
    DestroyWindow(host);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    FreeLibrary(module);
    std::printf("ok\n");
    return 0;
}
