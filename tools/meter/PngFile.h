#pragma once
// Writes an RgbImage as an 8-bit RGB PNG, beside its final name first.

#include <string>

#include "tools/meter/RgbImage.h"

namespace wowfix::meter {

bool writePng(const RgbImage& image, const std::string& path, std::string& error);

}  // namespace wowfix::meter
