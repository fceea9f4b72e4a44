#pragma once
// PNG files as 8-bit RGB for the tests that look at pictures: rows top to
// bottom, three bytes a pixel (red, green, blue).

#include <cstdint>
#include <string>
#include <vector>

namespace wowfix::test {

// Reads the file at `path` in any PNG format, converted to RGB. False when it
// cannot be read (`width` and `height` are then left as they were).
bool readRgbPng(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgb);

// Writes width x height pixels of `rgb` to a PNG file at `path`; false when
// `rgb` holds fewer pixels or the file cannot be written.
bool writeRgbPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace wowfix::test
