// The host's side of an editor: a top-level window of the test host that the
// plug-in's editor opens in, and what the host can see of the child windows
// the editor creates inside it (an X11 window on Linux, an HWND on Windows).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whether this build's plug-in can open windows at all (a Linux build without
// libX11 for its target cannot).
#ifndef ORVALUNE_NATIVE_WINDOWS
#define ORVALUNE_NATIVE_WINDOWS 0
#endif

class HostWindow {
public:
    struct Child {
        std::uintptr_t id;
        bool visible;
        int x, y, width, height;
    };

    // Creates and shows a 400 by 300 top-level window. ok() is false (and
    // error() says why) when there is no window system to create it on.
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool ok() const { return window_ != 0; }
    const std::string& error() const { return error_; }

    // What effEditOpen takes: the HWND, or the X11 Window id.
    void* handle() const { return reinterpret_cast<void*>(window_); }

    // The direct children of the window, as the window system sees them now.
    std::vector<Child> children();
    // The pixels of a child window, 0x00RRGGBB top row first; empty when they
    // cannot be read.
    std::vector<std::uint32_t> pixelsOf(const Child& child);

    // Delivers the window system's pending messages to this thread's windows
    // (Windows; X11 editors work from the host's idle call instead).
    void pump();

    // Destroys the window now, as a host closing its editor frame does.
    void destroy();

    // The handle of a window that existed a moment ago and no longer does.
    void* goneWindow();

    // A fresh handle count of the process: file descriptors (X11
    // connections) on Linux, user and GDI objects on Windows.
    static long processHandles();

private:
    std::uintptr_t window_ = 0;
    std::string error_;
    void* display_ = nullptr;  // X11: the host's own connection
};

// X11 only: the host's own X error handler, installed for the probe's life.
// It counts the errors it receives; the previous handler comes back after.
class HostErrorHandler {
public:
    HostErrorHandler();
    ~HostErrorHandler();
    HostErrorHandler(const HostErrorHandler&) = delete;
    HostErrorHandler& operator=(const HostErrorHandler&) = delete;

    int errors() const;
    // True while the process's handler is still this one.
    bool installed() const;
    // Makes a request on a connection of the host's own that fails.
    void causeError();

private:
    void* previous_ = nullptr;
};
