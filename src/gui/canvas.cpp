#include "gui/canvas.h"

#include <algorithm>

#include "gui/bitmap.h"

namespace gui {

Rect Rect::intersect(const Rect& other) const {
    const int l = std::max(left, other.left);
    const int t = std::max(top, other.top);
    const int r = std::min(right(), other.right());
    const int b = std::min(bottom(), other.bottom());
    return {l, t, std::max(0, r - l), std::max(0, b - t)};
}

void Canvas::fill(const Rect& area, std::uint32_t colour) {
    const Rect clipped = area.intersect({0, 0, fWidth, fHeight});
    for (int y = clipped.top; y < clipped.bottom(); ++y) {
        std::fill_n(row(y) + clipped.left, clipped.width, colour);
    }
}

void Canvas::drawBitmap(const Bitmap& bitmap, int x, int y, const Rect& clip, bool transparent) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return;
    const Rect area = clip.intersect({0, 0, fWidth, fHeight}).intersect({x, y, bitmap.width, bitmap.height});
    const std::uint32_t key = bitmap.bottomLeft();
    for (int py = area.top; py < area.bottom(); ++py) {
        std::uint32_t* target = row(py);
        for (int px = area.left; px < area.right(); ++px) {
            const std::uint32_t colour = bitmap.pixel(px - x, py - y);
            if (!transparent || colour != key) target[px] = colour;
        }
    }
}

}  // namespace gui
