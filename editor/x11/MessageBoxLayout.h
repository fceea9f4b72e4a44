#pragma once

#include "editor/win32/SoftObjects.h"

#include <string>
#include <vector>

namespace wowfix {

// Where a message box drawn by the layer puts its text and buttons: the
// text broken at its line breaks and wrapped at spaces to at most
// kMessageColumns characters, the buttons of the box's type centred in a row
// below it, the first one the default.
struct MessageBoxButton {
    RECT place{};
    int answer = IDOK;
    const char* caption = "OK";
};

struct MessageBoxLayout {
    static constexpr int kMessageColumns = 60;
    static constexpr int kMaxLines = 24;
    int width = 0;
    int height = 0;
    std::vector<std::string> lines;
    std::vector<MessageBoxButton> buttons;
    // The button under (x, y), or nullptr.
    const MessageBoxButton* buttonAt(int x, int y) const;
    // What Escape or closing the box answers: Cancel when the box has it,
    // No for a yes/no box, else OK.
    int escapeAnswer() const;
};

MessageBoxLayout layoutMessageBox(const std::string& text, UINT type);
// The box's picture: text, and the buttons with the default one framed.
void drawMessageBox(const MessageBoxLayout& layout, SoftRaster& raster);

}  // namespace wowfix
