#include "host_window.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#elif ORVALUNE_NATIVE_WINDOWS
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#endif

constexpr int kHostWidth = 400;
constexpr int kHostHeight = 300;

#if defined(_WIN32)

namespace {
const char* hostClass() {
    static const char* name = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvaluneTestHost";
        RegisterClassA(&windowClass);
        return "OrvaluneTestHost";
    }();
    return name;
}
}  // namespace

HostWindow::HostWindow() {
    // A popup, not a framed window: under wine without a window manager,
    // hiding or destroying a framed window waits two seconds for the
    // manager to withdraw it.
    HWND window = CreateWindowExA(0, hostClass(), "host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, kHostWidth,
                                  kHostHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        error_ = "cannot create a window (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    ShowWindow(window, SW_SHOW);
    window_ = reinterpret_cast<std::uintptr_t>(window);
    pump();
}

HostWindow::~HostWindow() { destroy(); }

void HostWindow::destroy() {
    if (!window_) return;
    DestroyWindow(reinterpret_cast<HWND>(window_));
    window_ = 0;
    pump();
}

std::vector<HostWindow::Child> HostWindow::children() {
    std::vector<Child> found;
    if (!window_) return found;
    const HWND parent = reinterpret_cast<HWND>(window_);
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        found.push_back({reinterpret_cast<std::uintptr_t>(child), IsWindowVisible(child) != FALSE,
                         static_cast<int>(rect.left), static_cast<int>(rect.top),
                         static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top)});
    }
    return found;
}

std::vector<std::uint32_t> HostWindow::pixelsOf(const Child& child) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(child.width) * child.height);
    HWND window = reinterpret_cast<HWND>(child.id);
    UpdateWindow(window);
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = child.width;
    info.bmiHeader.biHeight = -child.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, child.width, child.height, source, 0, 0, SRCCOPY) != FALSE;
    GdiFlush();
    if (copied && bits) {
        const auto* values = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = values[i] & 0x00FFFFFFu;
    } else {
        pixels.clear();
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return pixels;
}

void HostWindow::pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void* HostWindow::goneWindow() {
    HWND window = CreateWindowExA(0, hostClass(), "gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    DestroyWindow(window);
    return window;
}

long HostWindow::processHandles() {
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    return static_cast<long>(handles) + static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) +
           static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

#elif ORVALUNE_NATIVE_WINDOWS

namespace {
Display* displayOf(void* display) { return static_cast<Display*>(display); }
}  // namespace

HostWindow::HostWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        error_ = std::string("cannot open display '") + (name ? name : "") + "'";
        return;
    }
    display_ = display;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, kHostWidth, kHostHeight, 0,
                                              0, WhitePixel(display, DefaultScreen(display)));
    XMapWindow(display, window);
    XSync(display, False);
    window_ = window;
}

HostWindow::~HostWindow() {
    destroy();
    if (display_) XCloseDisplay(displayOf(display_));
}

void HostWindow::destroy() {
    if (!window_) return;
    XDestroyWindow(displayOf(display_), window_);
    XSync(displayOf(display_), False);
    window_ = 0;
}

std::vector<HostWindow::Child> HostWindow::children() {
    std::vector<Child> found;
    if (!window_) return found;
    Display* display = displayOf(display_);
    Window root = 0, parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window_, &root, &parent, &list, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, list[i], &attributes)) continue;
        found.push_back({list[i], attributes.map_state == IsViewable, attributes.x, attributes.y, attributes.width,
                         attributes.height});
    }
    if (list) XFree(list);
    return found;
}

std::vector<std::uint32_t> HostWindow::pixelsOf(const Child& child) {
    std::vector<std::uint32_t> pixels;
    Display* display = displayOf(display_);
    XImage* image = XGetImage(display, child.id, 0, 0, static_cast<unsigned>(child.width),
                              static_cast<unsigned>(child.height), AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.reserve(static_cast<std::size_t>(child.width) * child.height);
    for (int y = 0; y < child.height; ++y)
        for (int x = 0; x < child.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            // 24-bit TrueColor with the usual masks, as Xvfb serves it.
            pixels.push_back(static_cast<std::uint32_t>(pixel & 0x00FFFFFFu));
        }
    XDestroyImage(image);
    return pixels;
}

void HostWindow::pump() { XSync(displayOf(display_), False); }

void* HostWindow::goneWindow() {
    Display* display = displayOf(display_);
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(display, window);
    XSync(display, False);
    return reinterpret_cast<void*>(window);
}

namespace {
int gHostErrors = 0;
int countHostError(Display*, XErrorEvent*) {
    ++gHostErrors;
    return 0;
}
}  // namespace

HostErrorHandler::HostErrorHandler() {
    gHostErrors = 0;
    previous_ = reinterpret_cast<void*>(XSetErrorHandler(countHostError));
}

HostErrorHandler::~HostErrorHandler() { XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_)); }

int HostErrorHandler::errors() const { return gHostErrors; }

bool HostErrorHandler::installed() const {
    const XErrorHandler current = XSetErrorHandler(countHostError);
    return current == countHostError;
}

void HostErrorHandler::causeError() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XDestroyWindow(display, 0x1FFFFFFF);  // no such window
    XSync(display, False);
    XCloseDisplay(display);
}

long HostWindow::processHandles() {
    long count = 0;
    if (DIR* directory = opendir("/proc/self/fd")) {
        while (readdir(directory)) ++count;
        closedir(directory);
    }
    return count;
}

#else  // no window system in this build

HostWindow::HostWindow() { error_ = "this build has no window system"; }
HostWindow::~HostWindow() = default;
void HostWindow::destroy() {}
std::vector<HostWindow::Child> HostWindow::children() { return {}; }
std::vector<std::uint32_t> HostWindow::pixelsOf(const Child&) { return {}; }
void HostWindow::pump() {}
void* HostWindow::goneWindow() { return nullptr; }
long HostWindow::processHandles() { return 0; }

#endif
