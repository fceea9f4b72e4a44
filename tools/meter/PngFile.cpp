#include "tools/meter/PngFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/soundio/ReplacingFile.h"

namespace wowfix::meter {

namespace {

// libpng reports errors by longjmp; this writer keeps all C++ objects with
// destructors outside the function that sets the jump.
bool writeRows(std::FILE* stream, const RgbImage& image) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, stream);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const png_byte* pixels = image.pixels().data();
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png, pixels + static_cast<std::size_t>(y) * image.width() * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(const RgbImage& image, const std::string& path, std::string& error) {
    std::unique_ptr<soundio::ReplacingFile> file = soundio::ReplacingFile::create(path, error);
    if (file == nullptr) return false;
    std::FILE* stream = std::fopen(file->tempPath().c_str(), "wb");
    if (stream == nullptr) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    const bool written = writeRows(stream, image);
    const bool closed = std::fclose(stream) == 0;
    if (!written || !closed) {
        error = "cannot write '" + path + "'";
        return false;
    }
    return file->commit(error);
}

}  // namespace wowfix::meter
