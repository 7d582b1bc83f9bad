#include "gui/font.h"

#include <algorithm>

#include "gui/canvas.h"

namespace gui {

namespace {

// One channel of `over` laid on `under` with a coverage of 0 to 255, rounded.
std::uint32_t blendChannel(std::uint32_t under, std::uint32_t over, std::uint32_t coverage) {
    return (under * (255 - coverage) + over * coverage + 127) / 255;
}

std::uint32_t blend(std::uint32_t under, std::uint32_t over, std::uint32_t coverage) {
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        result |= blendChannel((under >> shift) & 0xFF, (over >> shift) & 0xFF, coverage) << shift;
    }
    return result;
}

}  // namespace

const Glyph& FontFace::glyph(char c) const {
    const int code = static_cast<unsigned char>(c);
    return glyphs[code >= kFirstChar && code <= kLastChar ? code - kFirstChar : 0];
}

int textWidth(const FontFace& font, const std::string& text) {
    int pen = 0;
    int inkRight = 0;
    for (char c : text) {
        const Glyph& g = font.glyph(c);
        if (g.width > 0) inkRight = std::max(inkRight, pen + g.left + g.width);
        pen += g.advance;
    }
    return std::max(pen, inkRight);
}

void drawText(Canvas& canvas, const FontFace& font, int x, int y, const std::string& text, std::uint32_t colour,
              const Rect& clip) {
    const Rect area = clip.intersect({0, 0, canvas.width(), canvas.height()});
    const int baseline = y + font.ascent;
    int pen = x;
    for (char c : text) {
        const Glyph& g = font.glyph(c);
        const std::uint8_t* ink = font.coverage + g.offset;
        for (int row = 0; row < g.height; ++row) {
            const int py = baseline - g.top + row;
            if (py < area.top || py >= area.bottom()) continue;
            std::uint32_t* target = canvas.row(py);
            for (int column = 0; column < g.width; ++column) {
                const int px = pen + g.left + column;
                const std::uint32_t coverage = ink[row * g.width + column];
                if (coverage == 0 || px < area.left || px >= area.right()) continue;
                target[px] = blend(target[px], colour, coverage);
            }
        }
        pen += g.advance;
    }
}

}  // namespace gui
