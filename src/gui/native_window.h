// A native child window inside a host's window that shows a gui::Surface.
// The platform layers (x11/, win32/) implement it; they only translate: they
// blit the surface's pixels, deliver mouse input, set the cursor and run the
// surface's timer. The editor object owns one while its window is open.
#pragma once

#include <memory>

#include "gui/surface.h"

namespace gui {

class NativeWindow {
public:
    // Creates a hidden child window of `parent` (an HWND on Windows, an X11
    // Window id on Linux) at (0, 0), sized to the surface. Answers null when
    // the window cannot be created: no parent, a parent that does not exist
    // (any more), no display. The surface must outlive the window.
    static std::unique_ptr<NativeWindow> create(void* parent, Surface& surface);

    virtual ~NativeWindow() = default;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    virtual void show() = 0;
    virtual void hide() = 0;
    // Paints now what changed on the surface outside the window's own events
    // (for instance after the editor moved the surface's controls itself).
    virtual void repaint() = 0;
    // The host's idle call, on the window's thread. On X11 the window handles
    // its events and its timer here; Windows delivers both by itself.
    virtual void idle() {}

protected:
    NativeWindow() = default;
};

}  // namespace gui
