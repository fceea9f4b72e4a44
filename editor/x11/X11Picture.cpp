#include "editor/x11/X11Picture.h"

#include <X11/Xutil.h>

namespace wowfix {

void putPixels(Display* display, Window window, GC gc, std::uint32_t* pixels, int width, int height) {
    if (pixels == nullptr || width <= 0 || height <= 0) return;
    XImage* image = XCreateImage(display, DefaultVisual(display, DefaultScreen(display)), 24, ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels), static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 32, 0);
    if (image == nullptr) return;
    XPutImage(display, window, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    image->data = nullptr;  // the pixels stay the caller's
    XDestroyImage(image);
}

void toXPixels(const SoftRaster& raster, std::vector<std::uint32_t>& pixels) {
    pixels.resize(raster.pixels.size());
    for (size_t i = 0; i < raster.pixels.size(); ++i)
        pixels[i] = static_cast<std::uint32_t>(GetRValue(raster.pixels[i])) << 16 |
                    static_cast<std::uint32_t>(GetGValue(raster.pixels[i])) << 8 | GetBValue(raster.pixels[i]);
}

}  // namespace wowfix
