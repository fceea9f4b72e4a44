#include "hostsim/cli/PngImage.h"

#include "tools/soundio/ReplacingFile.h"

#include <png.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace wowfix::hostsim {

bool writeGreyPng(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& pixels,
                  std::string& error) {
    if (width < 1 || height < 1 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        error = "no picture to write";
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_GRAY;
    if (png_image_write_to_stdio(&image, file, 0, pixels.data(), width, nullptr) == 0) {
        error = image.message[0] != '\0' ? image.message : "libpng failed";
        png_image_free(&image);
        return false;
    }
    return true;
}

bool writeRgbPng(std::FILE* file, int width, int height, const std::vector<std::uint32_t>& pixels,
                 std::string& error) {
    if (width < 1 || height < 1 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        error = "no picture to write";
        return false;
    }
    std::vector<std::uint8_t> rgb(pixels.size() * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_stdio(&image, file, 0, rgb.data(), width * 3, nullptr) == 0) {
        error = image.message[0] != '\0' ? image.message : "libpng failed";
        png_image_free(&image);
        return false;
    }
    return true;
}

bool writeRgbPngFile(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels,
                     std::string& error) {
    std::unique_ptr<soundio::ReplacingFile> partial = soundio::ReplacingFile::create(path, error);
    if (partial == nullptr) return false;
    std::FILE* file = fdopen(partial->takeDescriptor(), "wb");
    if (file == nullptr) {
        error = "cannot write '" + path + "'";
        return false;
    }
    std::string why;
    const bool written = writeRgbPng(file, width, height, pixels, why);
    const bool closed = std::fclose(file) == 0;
    if (!written) {
        error = "cannot write '" + path + "': " + why;
        return false;
    }
    if (!closed) {
        error = "cannot complete '" + path + "'";
        return false;
    }
    return partial->commit(error);
}

std::uint8_t greyOfLevel(float level) {
    if (!(level > 0.0f)) return 0;
    if (level >= 100.0f) return 255;
    return static_cast<std::uint8_t>(std::lround(level * 2.55f));
}

}  // namespace wowfix::hostsim
