// Writing 8-bit RGB pictures as PNG files (libpng's simplified interface).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes per pixel

    RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3, 0) {}
    std::uint8_t* at(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// Writes to `path`; messages name the file as `name`. Throws std::runtime_error.
void writePng(const RgbImage& image, const std::string& path, const std::string& name);

}  // namespace render
