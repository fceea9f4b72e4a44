#include "editor/ControlValues.h"

#include "editor/ParameterText.h"

namespace wowfix {

void setText(HWND window, const std::string& text) {
    if (window != nullptr) SetWindowTextA(window, text.c_str());
}

int barPositionOf(HWND bar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &info);
    return info.nPos;
}

void setBar(HWND bar, float value) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, barPosition(value), 0};
    if (bar != nullptr) SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

}  // namespace wowfix
