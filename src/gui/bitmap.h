// A decoded bitmap, and the decoder of the Windows BMP files that the editor's
// artwork is stored in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gui {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    std::uint32_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    // The colour a transparent image leaves undrawn.
    std::uint32_t bottomLeft() const { return pixel(0, height - 1); }
};

// Decodes an uncompressed BMP with 1, 4, 8 (palette), 24 or 32 bits per pixel,
// stored bottom-up or top-down. Answers false for anything else, and for a
// file that is cut short or inconsistent; `out` is then left empty.
bool decodeBmp(const std::uint8_t* data, std::size_t size, Bitmap& out);

}  // namespace gui
