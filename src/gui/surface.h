// What a platform window (win32/, x11/) needs from the content it shows: a
// pixel buffer to blit, mouse input to deliver, a cursor to set and a timer
// to run. The portable window toolkit's form implements it; the platform
// layers only translate between it and the operating system.
#pragma once

#include <cstdint>

namespace gui {

enum class Cursor { Arrow, Hand };

enum class MouseButton { Left, Right, Middle };

// The shift state that comes with every mouse event: keys, buttons held, and
// the double-click mark on the second press of a double click. A press
// carries the state with the pressed button included.
using ShiftState = unsigned;
constexpr ShiftState kShiftKey = 1u << 0;
constexpr ShiftState kAltKey = 1u << 1;
constexpr ShiftState kCtrlKey = 1u << 2;
constexpr ShiftState kLeftButton = 1u << 3;
constexpr ShiftState kRightButton = 1u << 4;
constexpr ShiftState kMiddleButton = 1u << 5;
constexpr ShiftState kDoubleClick = 1u << 6;

class Surface {
public:
    virtual ~Surface() = default;

    // The window text (no title bar shows it).
    virtual const char* caption() const { return ""; }

    // Client size in pixels; fixed for the surface's life.
    virtual int width() const = 0;
    virtual int height() const = 0;

    // Brings the pixels up to date and returns them: width() x height()
    // values 0x00RRGGBB, the top row first, no padding between rows.
    virtual const std::uint32_t* render() = 0;
    // True when something changed since the last render().
    virtual bool needsRender() const = 0;

    // Mouse input in client coordinates. While a button is held the platform
    // layer keeps delivering moves and the release even outside the window
    // (coordinates may then be negative or beyond the size).
    virtual void mouseDown(MouseButton button, ShiftState shift, int x, int y) = 0;
    virtual void mouseMove(ShiftState shift, int x, int y) = 0;
    virtual void mouseUp(MouseButton button, ShiftState shift, int x, int y) = 0;
    // The platform layer lost the mouse (the window was hidden, or another
    // window took the capture): the release of the held button will not come.
    virtual void mouseCaptureLost() = 0;

    // The cursor to show at a client position.
    virtual Cursor cursorAt(int x, int y) const = 0;

    // Interval of the surface's timer, and its tick, called on the window's
    // thread while the window exists.
    virtual int timerIntervalMs() const { return 100; }
    virtual void timerTick() = 0;
};

}  // namespace gui
