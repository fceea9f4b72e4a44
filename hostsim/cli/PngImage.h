#pragma once
// PNG files: grey-scale or RGB, 8 bits per channel, rows top to bottom.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// Writes width x height grey pixels (pixels[row * width + column]) to `file`,
// which stays open. Answers false with `error` set when libpng fails.
bool writeGreyPng(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& pixels,
                  std::string& error);

// Writes width x height colour pixels (0x00RRGGBB, pixels[row * width +
// column]) to `file` as 8-bit RGB.
bool writeRgbPng(std::FILE* file, int width, int height, const std::vector<std::uint32_t>& pixels,
                 std::string& error);

// Writes the colour pixels as a PNG file at `path`, beside it first and
// renamed onto it only when complete. False with `error` set on failure.
bool writeRgbPngFile(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels,
                     std::string& error);

// The grey value of a display level 0 ... 100: white for the loudest, black
// for silence (levels outside are clamped).
std::uint8_t greyOfLevel(float level);

}  // namespace wowfix::hostsim
