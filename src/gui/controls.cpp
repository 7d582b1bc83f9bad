#include "gui/controls.h"

#include <utility>

#include "gui/bitmap.h"
#include "gui/font.h"

namespace gui {

// ---- Control ------------------------------------------------------------------

Control::Control(Invalidator& owner, std::string name, const Rect& bounds, Cursor cursor, bool visible)
    : fOwner(owner), fName(std::move(name)), fBounds(bounds), fCursor(cursor), fVisible(visible) {}

void Control::setLeft(int left) {
    if (left == fBounds.left) return;
    fBounds.left = left;
    if (fVisible) invalidate();
}

void Control::setTop(int top) {
    if (top == fBounds.top) return;
    fBounds.top = top;
    if (fVisible) invalidate();
}

void Control::setVisible(bool visible) {
    if (visible == fVisible) return;
    fVisible = visible;
    invalidate();
}

void Control::setSize(int width, int height) {
    if (width == fBounds.width && height == fBounds.height) return;
    fBounds.width = width;
    fBounds.height = height;
    if (fVisible) invalidate();
}

// ---- Image --------------------------------------------------------------------

Image::Image(Invalidator& owner, std::string name, const Rect& bounds, Cursor cursor, bool visible,
             const Bitmap* bitmap, bool transparent)
    : Control(owner, std::move(name), bounds, cursor, visible), fBitmap(bitmap), fTransparent(transparent) {}

void Image::paint(Canvas& canvas) const {
    if (fBitmap != nullptr) canvas.drawBitmap(*fBitmap, left(), top(), bounds(), fTransparent);
}

// ---- Label --------------------------------------------------------------------

Label::Label(Invalidator& owner, std::string name, const Rect& bounds, Cursor cursor, bool visible,
             const FontFace* font, std::uint32_t colour, const std::string& caption)
    : Control(owner, std::move(name), bounds, cursor, visible), fFont(font), fColour(colour), fCaption(caption) {
    fitToText();
}

void Label::setCaption(const std::string& caption) {
    if (caption == fCaption) return;
    fCaption = caption;
    fitToText();
    if (visible()) invalidate();
}

void Label::fitToText() {
    if (fFont != nullptr) setSize(textWidth(*fFont, fCaption), fFont->lineHeight());
}

void Label::paint(Canvas& canvas) const {
    if (fFont != nullptr) drawText(canvas, *fFont, left(), top(), fCaption, fColour, bounds());
}

}  // namespace gui
