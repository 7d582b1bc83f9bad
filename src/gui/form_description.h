// The stored description of a form: its controls in stacking order (bottom
// first) with kind, position, size, cursor, initial visibility, bitmap, label
// text and font, and the names of the handlers of their events. A form class
// keeps its description as one table of these rows, built with image(),
// label() and timer() and the event setters:
//
//   gui::image("vow_a", 56, 46, 29, 29, Hand, Shown, gui::kNoBitmap)
//       .click("vow_aClick").mouseMove("vow_aMouseMove"),
#pragma once

#include <cstdint>

#include "gui/canvas.h"
#include "gui/surface.h"

namespace gui {

enum class ControlKind { Image, Label, Timer };

// An image's bitmap, by the name it is embedded under; none when name is null.
struct BitmapRef {
    const char* name;
    bool transparent;  // the bitmap's bottom-left pixel's colour is not drawn
};
constexpr BitmapRef kNoBitmap{nullptr, false};
constexpr BitmapRef opaque(const char* name) { return {name, false}; }
constexpr BitmapRef transparent(const char* name) { return {name, true}; }

// A label's font: face name, em height in pixels, style and text colour.
struct FontSpec {
    const char* face;
    int pixelHeight;
    bool italic;
    std::uint32_t colour;  // 0x00RRGGBB
};

struct ControlDescription {
    const char* name;
    ControlKind kind;
    Rect bounds;          // images and labels
    Cursor cursor;
    bool visible;         // a timer: running
    BitmapRef bitmap;     // images
    const char* caption;  // labels
    FontSpec font;        // labels
    int intervalMs;       // timers
    // Handler names per event; null where the event is not handled.
    const char* onClick;
    const char* onMouseDown;
    const char* onMouseMove;
    const char* onMouseUp;
    const char* onTimer;

    constexpr ControlDescription click(const char* handler) const { return with(&ControlDescription::onClick, handler); }
    constexpr ControlDescription mouseDown(const char* handler) const {
        return with(&ControlDescription::onMouseDown, handler);
    }
    constexpr ControlDescription mouseMove(const char* handler) const {
        return with(&ControlDescription::onMouseMove, handler);
    }
    constexpr ControlDescription mouseUp(const char* handler) const {
        return with(&ControlDescription::onMouseUp, handler);
    }
    constexpr ControlDescription timer(const char* handler) const { return with(&ControlDescription::onTimer, handler); }

private:
    constexpr ControlDescription with(const char* ControlDescription::*event, const char* handler) const {
        ControlDescription copy = *this;
        copy.*event = handler;
        return copy;
    }
};

constexpr ControlDescription image(const char* name, int left, int top, int width, int height, Cursor cursor,
                                   bool shown, BitmapRef bitmap) {
    ControlDescription d{};
    d.name = name;
    d.kind = ControlKind::Image;
    d.bounds = Rect{left, top, width, height};
    d.cursor = cursor;
    d.visible = shown;
    d.bitmap = bitmap;
    return d;
}

constexpr ControlDescription label(const char* name, int left, int top, int width, int height, Cursor cursor,
                                   bool shown, const char* caption, FontSpec font) {
    ControlDescription d{};
    d.name = name;
    d.kind = ControlKind::Label;
    d.bounds = Rect{left, top, width, height};
    d.cursor = cursor;
    d.visible = shown;
    d.caption = caption;
    d.font = font;
    return d;
}

constexpr ControlDescription timer(const char* name, int intervalMs, bool running) {
    ControlDescription d{};
    d.name = name;
    d.kind = ControlKind::Timer;
    d.visible = running;
    d.intervalMs = intervalMs;
    return d;
}

}  // namespace gui
