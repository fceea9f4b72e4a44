// wowfix-panel-match PANEL.bmp: opens the editor on the software layer in
// the state the Windows capture shows (just opened, no file) and compares its
// spectrogram panel with the panel picture taken from Wine's screen, pixel
// for pixel. Prints what differs (how many pixels, where, by how much, the
// first few) and exits 1 when anything does; 0 when the pictures are equal.

#include "editor/ControlTable.h"
#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "tests/host/PluginHost.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t read32(const std::vector<unsigned char>& f, size_t at) {
    return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | static_cast<std::uint32_t>(f[at + 3]) << 24;
}

// A 24-bit uncompressed BMP as 0x00RRGGBB pixels, top row first.
bool readBmp(const char* path, wowfix::soft::Picture& picture) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M' || f[28] != 24 || read32(f, 30) != 0) return false;
    const int width = static_cast<int>(read32(f, 18));
    const int rows = static_cast<int>(read32(f, 22));
    const int height = std::abs(rows);
    if (width <= 0 || height == 0 || width > 10000 || height > 10000) return false;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t offset = read32(f, 10);
    if (f.size() < offset + stride * static_cast<size_t>(height)) return false;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const size_t row = offset + stride * static_cast<size_t>(rows > 0 ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &f[row + static_cast<size_t>(x) * 3];
            picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
        }
    }
    return true;
}

int channelDelta(std::uint32_t a, std::uint32_t b, int shift) {
    return std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: wowfix-panel-match PANEL.bmp\n");
        return 2;
    }
    wowfix::soft::Picture wine;
    if (!readBmp(argv[1], wine)) {
        std::printf("%s: not a readable 24-bit BMP\n", argv[1]);
        return 1;
    }
    // The plug-in's scratch files go beside the picture, not into the user's
    // temporary folder.
    std::string temp = argv[1];
    temp = temp.substr(0, temp.find_last_of('/') + 1) + "temp";
    setenv("WOWFIX_TEMP", temp.c_str(), 1);
    wowfix::soft::Picture soft;
    {
        wowfix::test::PluginHost host;
        if (host.dispatch(effEditOpen) != 1) {
            std::printf("the software editor does not open\n");
            return 1;
        }
        // The panel as the window shows it, cut from the picture of the whole
        // window at the panel's place.
        const wowfix::EditorWindow* editor = host.plugin().editorWindow();
        wowfix::soft::Picture window;
        if (!wowfix::soft::takePicture(editor->mainWindow(), window)) {
            std::printf("no picture of the software editor\n");
            return 1;
        }
        RECT frame{};
        RECT panel{};
        GetWindowRect(editor->mainWindow(), &frame);
        GetWindowRect(editor->control(wowfix::control::kPanel), &panel);
        host.dispatch(effEditClose);
        const int left = panel.left - frame.left;
        const int top = panel.top - frame.top;
        soft.width = panel.right - panel.left;
        soft.height = panel.bottom - panel.top;
        if (left < 0 || top < 0 || left + soft.width > window.width || top + soft.height > window.height) {
            std::printf("the software panel lies outside its window\n");
            return 1;
        }
        for (int y = 0; y < soft.height; ++y)
            for (int x = 0; x < soft.width; ++x)
                soft.pixels.push_back(window.pixels[static_cast<size_t>(top + y) * static_cast<size_t>(window.width) +
                                                    static_cast<size_t>(left + x)]);
    }
    if (wine.width != soft.width || wine.height != soft.height) {
        std::printf("panel sizes differ: Wine %dx%d, software %dx%d\n", wine.width, wine.height, soft.width, soft.height);
        return 1;
    }
    long long differing = 0;
    int maxDelta[3] = {0, 0, 0};
    int left = wine.width, top = wine.height, right = -1, bottom = -1;
    for (int y = 0; y < wine.height; ++y)
        for (int x = 0; x < wine.width; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(wine.width) + static_cast<size_t>(x);
            const std::uint32_t a = wine.pixels[i] & 0xffffff;
            const std::uint32_t b = soft.pixels[i] & 0xffffff;
            if (a == b) continue;
            if (differing < 5)
                std::printf("  (%d, %d): Wine #%06x, software #%06x\n", x, y, static_cast<unsigned>(a),
                            static_cast<unsigned>(b));
            ++differing;
            for (int c = 0; c < 3; ++c) maxDelta[c] = std::max(maxDelta[c], channelDelta(a, b, 16 - 8 * c));
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    if (differing != 0) {
        std::printf("%lld of %d panel pixels differ, in (%d, %d)-(%d, %d); largest difference red %d, green %d, blue %d\n",
                    differing, wine.width * wine.height, left, top, right, bottom, maxDelta[0], maxDelta[1], maxDelta[2]);
        return 1;
    }
    std::printf("panel %dx%d: Wine's picture equals the software layer's, pixel for pixel\n", wine.width, wine.height);
    return 0;
}
