// Text drawn from glyphs rasterised ahead of time (coverage values 0 to 255
// per pixel), so that the same text gives the same pixels on every platform
// without a font library at run time. The glyph data is generated at build
// time (tools/fontgen) and linked in by the program that shows the text.
#pragma once

#include <cstdint>
#include <string>

namespace gui {

class Canvas;
struct Rect;

struct Glyph {
    std::int16_t advance;  // pen movement in pixels
    std::int16_t left;     // ink offset from the pen position
    std::int16_t top;      // ink rows above the baseline
    std::uint16_t width;   // ink size
    std::uint16_t height;
    std::uint32_t offset;  // first coverage byte of the ink, rows top first
};

struct FontFace {
    static constexpr int kFirstChar = 32;  // the glyphs cover ' ' to '~'
    static constexpr int kLastChar = 126;

    int ascent;   // rows above the baseline
    int descent;  // rows below it
    const Glyph* glyphs;
    const std::uint8_t* coverage;

    int lineHeight() const { return ascent + descent; }
    // The glyph of a character; characters outside ' ' to '~' draw as a space.
    const Glyph& glyph(char c) const;
};

// Width of a text's box: the pen's travel, widened where ink reaches beyond
// it (the overhang of italic letters).
int textWidth(const FontFace& font, const std::string& text);

// Draws a text with its box's top-left corner at (x, y), blending the colour
// over the canvas by each pixel's coverage; nothing is drawn outside `clip`.
void drawText(Canvas& canvas, const FontFace& font, int x, int y, const std::string& text, std::uint32_t colour,
              const Rect& clip);

}  // namespace gui
