#include "tests/support/RgbPng.h"

#include <png.h>

#include <cstring>

namespace wowfix::test {

bool readRgbPng(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return false;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

bool writeRgbPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width < 1 || height < 1 || rgb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) != 0;
}

}  // namespace wowfix::test
