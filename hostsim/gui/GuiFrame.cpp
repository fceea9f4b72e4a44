#include "hostsim/gui/GuiFrame.h"

#include <cstdint>

namespace wowfix::hostsim {

namespace {

constexpr const char* kClassName = "wowfix-host frame";

struct ControlPlace {
    int id;
    const char* className;
    const char* caption;
    DWORD style;
    int x, y, width, height;
};

constexpr int kRow1 = GuiFrame::kEditorHeight + 8;
constexpr int kRow2 = GuiFrame::kEditorHeight + 34;
constexpr int kRow3 = GuiFrame::kEditorHeight + 56;

const ControlPlace kControls[] = {
    {GuiFrame::kOpen, "BUTTON", "Open...", BS_PUSHBUTTON, 8, kRow1, 80, 22},
    {GuiFrame::kProcess, "BUTTON", "Process", BS_PUSHBUTTON, 96, kRow1, 80, 22},
    {GuiFrame::kSaveAs, "BUTTON", "Save as...", BS_PUSHBUTTON, 184, kRow1, 80, 22},
    {GuiFrame::kQuit, "BUTTON", "Quit", BS_PUSHBUTTON, 692, kRow1, 80, 22},
    {GuiFrame::kFileList, "COMBOBOX", "", CBS_DROPDOWNLIST, 280, kRow1, 400, 200},
    {GuiFrame::kPosition, "STATIC", "", SS_LEFT, 8, kRow2, 764, 18},
    {GuiFrame::kStatus, "STATIC", "", SS_LEFT, 8, kRow3, 764, 18},
};

}  // namespace

GuiFrame::GuiFrame(CommandHandler handler) : handler_(std::move(handler)) {
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = procedure;
    frameClass.lpszClassName = kClassName;
    frameClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&frameClass);
    window_ = CreateWindowExA(0, kClassName, "wowfix-host", WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                              nullptr, nullptr);
    if (window_ == nullptr) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (const ControlPlace& c : kControls)
        CreateWindowExA(0, c.className, c.caption, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.width, c.height,
                        window_, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(c.id)), nullptr, nullptr);
}

GuiFrame::~GuiFrame() {
    if (window_ != nullptr) DestroyWindow(window_);
    UnregisterClassA(kClassName, nullptr);
}

LRESULT CALLBACK GuiFrame::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* frame = reinterpret_cast<GuiFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COMMAND && frame != nullptr && frame->handler_) {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == kFileList && code == CBN_SELCHANGE) {
            const int entry = static_cast<int>(SendMessageA(GetDlgItem(window, kFileList), CB_GETCURSEL, 0, 0));
            frame->handler_(kFileList, entry);
        } else if (code == BN_CLICKED && id != kFileList) {
            frame->handler_(id, -1);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void GuiFrame::setText(int id, const std::string& text) {
    if (window_ != nullptr) SetWindowTextA(GetDlgItem(window_, id), text.c_str());
}

void GuiFrame::showFiles(const std::vector<std::string>& names, int current) {
    HWND list = GetDlgItem(window_, kFileList);
    if (list == nullptr) return;
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

void GuiFrame::showPosition(const std::string& text) { setText(kPosition, text); }
void GuiFrame::showStatus(const std::string& text) { setText(kStatus, text); }

std::string GuiFrame::status() const {
    char text[512] = {};
    GetWindowTextA(GetDlgItem(window_, kStatus), text, sizeof text);
    return text;
}

void GuiFrame::enableCommands(bool enable) {
    for (int id : {kOpen, kProcess, kSaveAs, kFileList}) EnableWindow(GetDlgItem(window_, id), enable ? TRUE : FALSE);
}

}  // namespace wowfix::hostsim
