// Catches the X errors of one display connection for the length of a scope.
// Xlib's default error handler ends the process, and the error handler is
// process-wide: a plug-in must neither die from an error on its own
// connection (a host window that no longer exists, a bogus window id) nor
// take error handling away from the host. So the trap installs its handler
// only around the plug-in's own calls, synchronises with the server before it
// leaves so that every error of those calls has arrived, and then puts the
// host's handler back. Errors on other connections go to the host's handler.
#pragma once

#include <X11/Xlib.h>

#include <mutex>

namespace gui::x11 {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to answer every request sent so far; true when any
    // of them failed since the trap was set.
    bool failed();

private:
    std::unique_lock<std::mutex> lock_;
    Display* display_;
    XErrorHandler previous_;
};

}  // namespace gui::x11
