#include "gui/x11/error_trap.h"

namespace gui::x11 {

namespace {

// One trap at a time in the process (the handler is process-wide); the
// mutex also orders editors of several instances idled from several threads.
std::mutex gTrapMutex;
Display* gTrappedDisplay = nullptr;
XErrorHandler gHostHandler = nullptr;
bool gErrorSeen = false;

int onXError(Display* display, XErrorEvent* event) {
    if (display == gTrappedDisplay) {
        gErrorSeen = true;
        return 0;
    }
    return gHostHandler ? gHostHandler(display, event) : 0;
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display) : lock_(gTrapMutex), display_(display) {
    // Every request on this connection is sent inside a trap and each trap
    // synchronises before it ends, so no earlier error can still arrive.
    gTrappedDisplay = display_;
    gErrorSeen = false;
    previous_ = XSetErrorHandler(onXError);
    gHostHandler = previous_;
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
    gTrappedDisplay = nullptr;
    gHostHandler = nullptr;
}

bool ErrorTrap::failed() {
    XSync(display_, False);
    return gErrorSeen;
}

}  // namespace gui::x11
