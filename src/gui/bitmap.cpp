#include "gui/bitmap.h"

#include <cstdint>
#include <utility>

namespace gui {

namespace {

// Little-endian readers over a byte range checked by the caller.
std::uint32_t read16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
std::uint32_t read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
constexpr int kMaxSide = 8192;

std::uint32_t rgb(const std::uint8_t* bgr) {
    return (static_cast<std::uint32_t>(bgr[2]) << 16) | (static_cast<std::uint32_t>(bgr[1]) << 8) | bgr[0];
}

}  // namespace

bool decodeBmp(const std::uint8_t* data, std::size_t size, Bitmap& out) {
    out = Bitmap();
    if (data == nullptr || size < kFileHeaderSize + kInfoHeaderSize) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;

    const std::uint32_t pixelOffset = read32(data + 10);
    const std::uint8_t* info = data + kFileHeaderSize;
    const std::uint32_t infoSize = read32(info);
    const auto width = static_cast<std::int32_t>(read32(info + 4));
    const auto rawHeight = static_cast<std::int32_t>(read32(info + 8));
    const std::uint32_t bitCount = read16(info + 14);
    const std::uint32_t compression = read32(info + 16);
    std::uint32_t paletteSize = read32(info + 32);

    if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize) return false;
    if (compression != kUncompressed) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
    const bool topDown = rawHeight < 0;
    if (rawHeight == INT32_MIN) return false;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;

    // The palette follows the info header: 4 bytes (blue, green, red, unused) per entry.
    const std::uint8_t* palette = info + infoSize;
    if (bitCount <= 8) {
        const std::uint32_t fullPalette = 1u << bitCount;
        if (paletteSize == 0 || paletteSize > fullPalette) paletteSize = fullPalette;
        if (kFileHeaderSize + infoSize + std::size_t{paletteSize} * 4 > size) return false;
    }

    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    if (pixelOffset > size || rowBytes * static_cast<std::size_t>(height) > size - pixelOffset) return false;

    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int storedRow = topDown ? y : height - 1 - y;
        const std::uint8_t* row = data + pixelOffset + rowBytes * static_cast<std::size_t>(storedRow);
        std::uint32_t* target = bitmap.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            if (bitCount == 24) {
                target[x] = rgb(row + 3 * x);
            } else if (bitCount == 32) {
                target[x] = rgb(row + 4 * x);
            } else {
                // Palette index: pixels fill each byte from its high bits down.
                const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
                const unsigned shift = 8 - bitCount - static_cast<unsigned>(bit % 8);
                const std::uint32_t index = (row[bit / 8] >> shift) & ((1u << bitCount) - 1);
                if (index >= paletteSize) return false;
                target[x] = rgb(palette + 4 * index);
            }
        }
    }
    out = std::move(bitmap);
    return true;
}

}  // namespace gui
