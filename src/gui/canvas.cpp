#include "gui/canvas.h"

#include <algorithm>

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

}  // namespace gui
