// The X11 platform layer: a child window of the host's X11 window on a
// display connection of its own. X has no timers and hosts give plug-ins no
// event loop on Linux: events and the surface's timer are handled from the
// host's idle calls on its user-interface thread. Every batch of requests
// runs inside an ErrorTrap, so a host window that disappears under the editor
// costs an error on our connection, never the host process. The surface runs
// outside any trap: its handlers call the plug-in's setters, which call the
// host, and a host may do anything there, idling other editors (whose traps
// take the same process-wide lock) included.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gui/native_window.h"
#include "gui/x11/error_trap.h"

namespace gui {

namespace {

using Clock = std::chrono::steady_clock;

// XIDs never have the top three bits set; anything else is no window id
// (on 64-bit hosts, for instance, a pointer passed where a window belongs).
constexpr std::uintptr_t kMaxXid = 0x1FFFFFFF;

// A press that follows the previous press of the same button within this
// time and distance is the second press of a double click (the usual
// desktop defaults); the press after that starts over.
constexpr Time kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 2;

// How one colour channel of 0x00RRGGBB lands in a pixel of the visual.
struct ChannelPacking {
    int shift = 0;
    int bits = 0;

    explicit ChannelPacking(unsigned long mask) {
        if (mask == 0) return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++bits;
        }
    }

    unsigned long pack(std::uint32_t value8) const {
        const unsigned long scaled = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
        return scaled << shift;
    }
};

ShiftState shiftStateOf(unsigned int state) {
    ShiftState shift = 0;
    if (state & ShiftMask) shift |= kShiftKey;
    if (state & ControlMask) shift |= kCtrlKey;
    if (state & Mod1Mask) shift |= kAltKey;
    if (state & Button1Mask) shift |= kLeftButton;
    if (state & Button2Mask) shift |= kMiddleButton;
    if (state & Button3Mask) shift |= kRightButton;
    return shift;
}

// Buttons 1 to 3; the wheel's buttons 4 and up are not mouse buttons here.
bool mouseButtonOf(unsigned int xButton, MouseButton& button, ShiftState& flag) {
    switch (xButton) {
        case Button1: button = MouseButton::Left; flag = kLeftButton; return true;
        case Button2: button = MouseButton::Middle; flag = kMiddleButton; return true;
        case Button3: button = MouseButton::Right; flag = kRightButton; return true;
        default: return false;
    }
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr int kHostByteOrder = MSBFirst;
#else
constexpr int kHostByteOrder = LSBFirst;
#endif

constexpr unsigned int kAnyButtonMask = Button1Mask | Button2Mask | Button3Mask;

unsigned int buttonMaskOf(unsigned int xButton) {
    switch (xButton) {
        case Button1: return Button1Mask;
        case Button2: return Button2Mask;
        case Button3: return Button3Mask;
        default: return 0;
    }
}

class X11Window final : public NativeWindow {
public:
    X11Window(Display* display, Surface& surface) : display_(display), surface_(surface) {}
    ~X11Window() override;

    // Builds the window inside `parent`; false when any step failed.
    bool build(Window parent);

    void show() override;
    void hide() override;
    void repaint() override;
    void idle() override;

private:
    void handle(const XEvent& event);
    void onButtonPress(const XButtonEvent& event);
    void onButtonRelease(const XButtonEvent& event);
    void onMotion(const XMotionEvent& event);
    void showCursorAt(int x, int y);
    void runTimer();
    void blit();  // inside a trap
    // After a trapped batch: a failed request means our window is gone (its
    // parent was destroyed); from then on the window sends nothing more.
    void checkAlive(x11::ErrorTrap& trap);

    Display* display_;
    Surface& surface_;
    Window window_ = 0;
    bool alive_ = false;
    Colormap colormap_ = 0;
    GC gc_ = nullptr;
    XImage* image_ = nullptr;
    ChannelPacking red_{0}, green_{0}, blue_{0};
    ::Cursor handCursor_ = 0;
    ::Cursor arrowCursor_ = 0;
    Cursor shownCursor_ = Cursor::Arrow;
    bool grabbed_ = false;

    Time lastPressTime_ = 0;
    unsigned int lastPressButton_ = 0;
    int lastPressX_ = 0, lastPressY_ = 0;
    bool lastPressWasDouble_ = true;  // so that the first press is a single one

    Clock::time_point nextTick_;
};

bool X11Window::build(Window parent) {
    x11::ErrorTrap trap(display_);
    XWindowAttributes parentAttributes;
    if (!XGetWindowAttributes(display_, parent, &parentAttributes) || trap.failed()) return false;

    const int screen = XScreenNumberOfScreen(parentAttributes.screen);
    XVisualInfo visual;
    if (!XMatchVisualInfo(display_, screen, 24, TrueColor, &visual)) return false;
    red_ = ChannelPacking(visual.red_mask);
    green_ = ChannelPacking(visual.green_mask);
    blue_ = ChannelPacking(visual.blue_mask);

    colormap_ = XCreateColormap(display_, parentAttributes.root, visual.visual, AllocNone);
    XSetWindowAttributes attributes;
    std::memset(&attributes, 0, sizeof attributes);
    attributes.background_pixmap = None;  // the server never clears it: every pixel is ours
    attributes.border_pixel = 0;
    attributes.colormap = colormap_;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | StructureNotifyMask;
    const unsigned int width = static_cast<unsigned int>(surface_.width());
    const unsigned int height = static_cast<unsigned int>(surface_.height());
    window_ = XCreateWindow(display_, parent, 0, 0, width, height, 0, 24, InputOutput, visual.visual,
                            CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    if (trap.failed()) {
        window_ = 0;
        return false;
    }
    alive_ = true;
    XStoreName(display_, window_, surface_.caption());
    gc_ = XCreateGC(display_, window_, 0, nullptr);
    handCursor_ = XCreateFontCursor(display_, XC_hand2);
    arrowCursor_ = XCreateFontCursor(display_, XC_left_ptr);
    XDefineCursor(display_, window_, arrowCursor_);

    // Xlib frees the image's pixels with free().
    auto* pixels = static_cast<char*>(std::calloc(static_cast<std::size_t>(width) * height, 4));
    if (!pixels) return false;
    image_ = XCreateImage(display_, visual.visual, 24, ZPixmap, 0, pixels, width, height, 32, 0);
    if (!image_) {
        std::free(pixels);
        return false;
    }
    nextTick_ = Clock::now() + std::chrono::milliseconds(surface_.timerIntervalMs());
    return !trap.failed();
}

X11Window::~X11Window() {
    {
        x11::ErrorTrap trap(display_);
        if (grabbed_) XUngrabPointer(display_, CurrentTime);
        if (window_) XDestroyWindow(display_, window_);
        if (handCursor_) XFreeCursor(display_, handCursor_);
        if (arrowCursor_) XFreeCursor(display_, arrowCursor_);
        if (gc_) XFreeGC(display_, gc_);
        if (colormap_) XFreeColormap(display_, colormap_);
        if (image_) XDestroyImage(image_);
    }
    XCloseDisplay(display_);
}

void X11Window::checkAlive(x11::ErrorTrap& trap) {
    if (trap.failed()) alive_ = false;
}

void X11Window::show() {
    if (!alive_) return;
    x11::ErrorTrap trap(display_);
    XMapRaised(display_, window_);
    checkAlive(trap);
}

void X11Window::hide() {
    if (alive_) {
        x11::ErrorTrap trap(display_);
        if (grabbed_) {
            XUngrabPointer(display_, CurrentTime);
            grabbed_ = false;
        }
        XUnmapWindow(display_, window_);
        checkAlive(trap);
    }
    surface_.mouseCaptureLost();
}

void X11Window::repaint() {
    if (!alive_ || !surface_.needsRender()) return;
    x11::ErrorTrap trap(display_);
    blit();
    checkAlive(trap);
}

void X11Window::idle() {
    // Reading events sends no request, and every earlier request was
    // synchronised by its trap: no error can arrive here.
    while (alive_ && XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        handle(event);
    }
    if (!alive_) return;
    runTimer();
    repaint();
}

void X11Window::handle(const XEvent& event) {
    switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0 && alive_) {
                x11::ErrorTrap trap(display_);
                blit();
                checkAlive(trap);
            }
            break;
        case ButtonPress: onButtonPress(event.xbutton); break;
        case ButtonRelease: onButtonRelease(event.xbutton); break;
        case MotionNotify: onMotion(event.xmotion); break;
        case DestroyNotify:
            if (event.xdestroywindow.window == window_) alive_ = false;
            break;
        default: break;
    }
}

void X11Window::onButtonPress(const XButtonEvent& event) {
    MouseButton button;
    ShiftState flag;
    if (!mouseButtonOf(event.button, button, flag)) return;

    const bool doubleClick = !lastPressWasDouble_ && event.button == lastPressButton_ &&
                             event.time - lastPressTime_ <= kDoubleClickMs &&
                             std::abs(event.x - lastPressX_) <= kDoubleClickDistance &&
                             std::abs(event.y - lastPressY_) <= kDoubleClickDistance;
    lastPressWasDouble_ = doubleClick;
    lastPressButton_ = event.button;
    lastPressTime_ = event.time;
    lastPressX_ = event.x;
    lastPressY_ = event.y;

    // Moves and the release keep coming while a button is held, also from
    // outside the window, with coordinates relative to it.
    if (!grabbed_ && alive_) {
        x11::ErrorTrap trap(display_);
        grabbed_ = XGrabPointer(display_, window_, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                GrabModeAsync, GrabModeAsync, None, None, event.time) == GrabSuccess;
        checkAlive(trap);
    }
    // X reports the state before the press; the surface expects the pressed
    // button included.
    ShiftState shift = shiftStateOf(event.state) | flag;
    if (doubleClick) shift |= kDoubleClick;
    surface_.mouseDown(button, shift, event.x, event.y);
}

void X11Window::onButtonRelease(const XButtonEvent& event) {
    MouseButton button;
    ShiftState flag;
    if (!mouseButtonOf(event.button, button, flag)) return;
    // X reports the state before the release; the released button is no
    // longer held, as on every other platform.
    surface_.mouseUp(button, shiftStateOf(event.state) & ~flag, event.x, event.y);
    const bool buttonsLeft = (event.state & kAnyButtonMask & ~buttonMaskOf(event.button)) != 0;
    if (grabbed_ && !buttonsLeft && alive_) {
        x11::ErrorTrap trap(display_);
        XUngrabPointer(display_, event.time);
        grabbed_ = false;
        checkAlive(trap);
    }
    showCursorAt(event.x, event.y);
}

void X11Window::onMotion(const XMotionEvent& event) {
    surface_.mouseMove(shiftStateOf(event.state), event.x, event.y);
    showCursorAt(event.x, event.y);
}

void X11Window::showCursorAt(int x, int y) {
    const bool inside = x >= 0 && y >= 0 && x < surface_.width() && y < surface_.height();
    const Cursor wanted = inside ? surface_.cursorAt(x, y) : Cursor::Arrow;
    if (wanted == shownCursor_ || !alive_) return;
    shownCursor_ = wanted;
    x11::ErrorTrap trap(display_);
    XDefineCursor(display_, window_, wanted == Cursor::Hand ? handCursor_ : arrowCursor_);
    checkAlive(trap);
}

void X11Window::runTimer() {
    const Clock::time_point now = Clock::now();
    if (now < nextTick_) return;
    surface_.timerTick();
    // One tick per idle call; after a long pause (a slow host) the timer
    // starts its rhythm again instead of catching up in a burst.
    const auto interval = std::chrono::milliseconds(surface_.timerIntervalMs());
    nextTick_ += interval;
    if (nextTick_ <= now) nextTick_ = now + interval;
}

void X11Window::blit() {
    const std::uint32_t* pixels = surface_.render();
    const int width = surface_.width();
    const int height = surface_.height();
    // The common case, 32-bit pixels in this machine's byte order, is written
    // directly; anything else goes through Xlib's pixel packing.
    const bool direct = image_->bits_per_pixel == 32 && image_->byte_order == kHostByteOrder;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * width;
        char* out = image_->data + static_cast<std::ptrdiff_t>(y) * image_->bytes_per_line;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = row[x];
            const unsigned long pixel =
                red_.pack((rgb >> 16) & 0xFF) | green_.pack((rgb >> 8) & 0xFF) | blue_.pack(rgb & 0xFF);
            if (direct) {
                const auto value = static_cast<std::uint32_t>(pixel);
                std::memcpy(out + 4 * x, &value, 4);
            } else {
                XPutPixel(image_, x, y, pixel);
            }
        }
    }
    XPutImage(display_, window_, gc_, image_, 0, 0, 0, 0, static_cast<unsigned int>(width),
              static_cast<unsigned int>(height));
}

}  // namespace

std::unique_ptr<NativeWindow> NativeWindow::create(void* parent, Surface& surface) {
    const auto parentId = reinterpret_cast<std::uintptr_t>(parent);
    if (parentId == 0 || parentId > kMaxXid) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    auto window = std::make_unique<X11Window>(display, surface);  // closes the display when dropped
    if (!window->build(static_cast<Window>(parentId))) return nullptr;
    return window;
}

}  // namespace gui
