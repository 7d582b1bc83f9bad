// The controls a form is made of: images, labels and timers. Images and
// labels are drawn by the form in stacking order and take mouse events in
// client coordinates relative to their own top-left corner.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "gui/canvas.h"
#include "gui/surface.h"

namespace gui {

struct Bitmap;
struct FontFace;

using NotifyEvent = std::function<void()>;
using MouseMoveEvent = std::function<void(ShiftState shift, int x, int y)>;
using MouseButtonEvent = std::function<void(MouseButton button, ShiftState shift, int x, int y)>;

// Receives the notice that something visible changed.
class Invalidator {
public:
    virtual void invalidate() = 0;

protected:
    ~Invalidator() = default;
};

class Control {
public:
    Control(Invalidator& owner, std::string name, const Rect& bounds, Cursor cursor, bool visible);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return fName; }
    const Rect& bounds() const { return fBounds; }
    int left() const { return fBounds.left; }
    int top() const { return fBounds.top; }
    Cursor cursor() const { return fCursor; }
    bool visible() const { return fVisible; }

    void setLeft(int left);
    void setTop(int top);
    void setVisible(bool visible);

    virtual void paint(Canvas& canvas) const = 0;

    NotifyEvent onClick;
    MouseButtonEvent onMouseDown;
    MouseMoveEvent onMouseMove;
    MouseButtonEvent onMouseUp;

protected:
    void setSize(int width, int height);
    void invalidate() { fOwner.invalidate(); }

private:
    Invalidator& fOwner;
    std::string fName;
    Rect fBounds;
    Cursor fCursor;
    bool fVisible;
};

// Draws its bitmap, if it has one, from its top-left corner at the bitmap's
// own size, clipped to the control. Without a bitmap it is an area that only
// takes mouse events.
class Image : public Control {
public:
    Image(Invalidator& owner, std::string name, const Rect& bounds, Cursor cursor, bool visible, const Bitmap* bitmap,
          bool transparent);
    const Bitmap* bitmap() const { return fBitmap; }
    void paint(Canvas& canvas) const override;

private:
    const Bitmap* fBitmap;
    bool fTransparent;
};

// One line of text on a transparent background; the label takes the size of
// its text.
class Label : public Control {
public:
    Label(Invalidator& owner, std::string name, const Rect& bounds, Cursor cursor, bool visible,
          const FontFace* font, std::uint32_t colour, const std::string& caption);
    const std::string& caption() const { return fCaption; }
    void setCaption(const std::string& caption);
    void paint(Canvas& canvas) const override;

private:
    void fitToText();

    const FontFace* fFont;
    std::uint32_t fColour;
    std::string fCaption;
};

// Calls its handler on every tick of the form's timer while it runs.
class Timer {
public:
    Timer(std::string name, int intervalMs, bool enabled)
        : fName(std::move(name)), fIntervalMs(intervalMs), fEnabled(enabled) {}
    const std::string& name() const { return fName; }
    int intervalMs() const { return fIntervalMs; }
    bool enabled() const { return fEnabled; }
    void setEnabled(bool enabled) { fEnabled = enabled; }

    NotifyEvent onTimer;

private:
    std::string fName;
    int fIntervalMs;
    bool fEnabled;
};

}  // namespace gui
