#include "png_file.h"

#include <cstring>
#include <stdexcept>

#include <png.h>

namespace render {

void writePng(const RgbImage& image, const std::string& path, const std::string& name) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
        const std::string reason = png.message;
        png_image_free(&png);
        throw std::runtime_error("cannot write '" + name + "': " + reason);
    }
}

}  // namespace render
