#pragma once

#include <cstdint>

namespace wowfix {

// The picture the spectrogram panel shows until the first click: bitmap
// resource 102, 670 x 260 pixels, 24 bits per pixel.
constexpr int kStartPictureId = 102;
constexpr int kStartPictureWidth = 670;
constexpr int kStartPictureHeight = 260;

// Its pixels, blue green red, rows top to bottom.
const std::uint8_t* startPicturePixels();

}  // namespace wowfix
