#include "editor/x11/MessageBoxLayout.h"

#include <algorithm>

namespace wowfix {

namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMinWidth = 200;

// Breaks one line of text at spaces into pieces of at most `columns`
// characters; a word longer than that is cut.
void wrapLine(const std::string& line, size_t columns, std::vector<std::string>& out) {
    std::string rest = line;
    while (rest.size() > columns) {
        size_t cut = rest.rfind(' ', columns);
        if (cut == std::string::npos || cut == 0) cut = columns;
        out.push_back(rest.substr(0, cut));
        rest.erase(0, rest[cut] == ' ' ? cut + 1 : cut);
    }
    out.push_back(rest);
}

void fill(SoftRaster& r, const RECT& box, COLORREF c) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) r.set(x, y, c);
}

}  // namespace

const MessageBoxButton* MessageBoxLayout::buttonAt(int x, int y) const {
    for (const MessageBoxButton& b : buttons)
        if (x >= b.place.left && x < b.place.right && y >= b.place.top && y < b.place.bottom) return &b;
    return nullptr;
}

int MessageBoxLayout::escapeAnswer() const {
    for (const MessageBoxButton& b : buttons)
        if (b.answer == IDCANCEL) return IDCANCEL;
    for (const MessageBoxButton& b : buttons)
        if (b.answer == IDNO) return IDNO;
    return IDOK;
}

MessageBoxLayout layoutMessageBox(const std::string& text, UINT type) {
    MessageBoxLayout layout;
    for (const std::string& line : soft::textLines(text)) {
        wrapLine(line, MessageBoxLayout::kMessageColumns, layout.lines);
        if (static_cast<int>(layout.lines.size()) >= MessageBoxLayout::kMaxLines) break;
    }
    if (static_cast<int>(layout.lines.size()) > MessageBoxLayout::kMaxLines)
        layout.lines.resize(MessageBoxLayout::kMaxLines);

    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: layout.buttons = {{{}, IDOK, "OK"}, {{}, IDCANCEL, "Cancel"}}; break;
        case MB_YESNO: layout.buttons = {{{}, IDYES, "Yes"}, {{}, IDNO, "No"}}; break;
        case MB_YESNOCANCEL:
            layout.buttons = {{{}, IDYES, "Yes"}, {{}, IDNO, "No"}, {{}, IDCANCEL, "Cancel"}};
            break;
        default: layout.buttons = {{{}, IDOK, "OK"}}; break;
    }

    size_t longest = 0;
    for (const std::string& line : layout.lines) longest = std::max(longest, line.size());
    const int count = static_cast<int>(layout.buttons.size());
    const int row = count * kButtonWidth + (count - 1) * kButtonGap;
    layout.width = std::max({kMinWidth, soft::textWidth(static_cast<int>(longest)) + 2 * kMargin, row + 2 * kMargin});
    const int textBottom = kMargin + static_cast<int>(layout.lines.size()) * soft::kTextHeight;
    const int buttonTop = textBottom + kMargin;
    layout.height = buttonTop + kButtonHeight + kMargin;
    int left = (layout.width - row) / 2;
    for (MessageBoxButton& b : layout.buttons) {
        b.place = RECT{left, buttonTop, left + kButtonWidth, buttonTop + kButtonHeight};
        left += kButtonWidth + kButtonGap;
    }
    return layout;
}

void drawMessageBox(const MessageBoxLayout& layout, SoftRaster& r) {
    r.resize(layout.width, layout.height, soft::kButtonFace);
    int y = 12;
    for (const std::string& line : layout.lines) {
        soft::drawText(r, 12, y, line.c_str(), static_cast<int>(line.size()), RGB(0, 0, 0));
        y += soft::kTextHeight;
    }
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const MessageBoxButton& b = layout.buttons[i];
        fill(r, b.place, RGB(255, 255, 255));
        // The default button has the darker frame.
        const COLORREF edge = i == 0 ? RGB(0, 0, 0) : RGB(128, 128, 128);
        for (int x = b.place.left; x < b.place.right; ++x) r.set(x, b.place.top, edge), r.set(x, b.place.bottom - 1, edge);
        for (int yy = b.place.top; yy < b.place.bottom; ++yy) r.set(b.place.left, yy, edge), r.set(b.place.right - 1, yy, edge);
        const int length = static_cast<int>(std::char_traits<char>::length(b.caption));
        const int tx = (b.place.left + b.place.right - soft::textWidth(length)) / 2;
        const int ty = (b.place.top + b.place.bottom - soft::kTextHeight) / 2;
        soft::drawText(r, tx, ty, b.caption, length, RGB(0, 0, 0));
    }
}

}  // namespace wowfix
