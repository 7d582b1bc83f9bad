// A view of a pixel buffer (0x00RRGGBB, top row first) that the renderer
// draws into, with every drawing operation clipped to the buffer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gui {

struct Bitmap;

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
    Rect intersect(const Rect& other) const;
    bool empty() const { return width <= 0 || height <= 0; }
};

class Canvas {
public:
    Canvas(std::uint32_t* pixels, int width, int height) : fPixels(pixels), fWidth(width), fHeight(height) {}

    int width() const { return fWidth; }
    int height() const { return fHeight; }
    std::uint32_t* row(int y) const { return fPixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(fWidth); }

    void fill(const Rect& area, std::uint32_t colour);
    // Draws a bitmap at its own size with its top-left corner at (x, y),
    // limited to `clip`. A transparent bitmap leaves every pixel of its
    // bottom-left pixel's colour undrawn.
    void drawBitmap(const Bitmap& bitmap, int x, int y, const Rect& clip, bool transparent);

private:
    std::uint32_t* fPixels;
    int fWidth;
    int fHeight;
};

}  // namespace gui
