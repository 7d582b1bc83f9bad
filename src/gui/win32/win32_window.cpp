// The Win32 platform layer: a WS_CHILD window of the host's window. Windows
// delivers its messages and timer through the host's message loop on the
// user-interface thread; this layer translates them for the surface and
// blits the surface's pixels on WM_PAINT.

#include <windows.h>
#include <windowsx.h>

#include <cstdint>

#include "gui/native_window.h"
#include "gui/win32/module.h"

namespace gui {

namespace {

constexpr UINT_PTR kTimerId = 1;

ShiftState shiftStateOf(WPARAM keys) {
    ShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= kShiftKey;
    if (keys & MK_CONTROL) shift |= kCtrlKey;
    if (GetKeyState(VK_MENU) < 0) shift |= kAltKey;  // mouse messages do not carry Alt
    if (keys & MK_LBUTTON) shift |= kLeftButton;
    if (keys & MK_RBUTTON) shift |= kRightButton;
    if (keys & MK_MBUTTON) shift |= kMiddleButton;
    return shift;
}

class Win32Window final : public NativeWindow {
public:
    explicit Win32Window(Surface& surface) : surface_(surface) {}
    ~Win32Window() override;

    // Creates the child window inside `parent`; false when it cannot.
    bool build(HWND parent);

    void show() override;
    void hide() override;
    void repaint() override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    // After the surface handled input or a tick: schedule the changed pixels.
    void invalidateIfChanged();
    void onPress(MouseButton button, WPARAM keys, LPARAM position, bool doubleClick);
    void onRelease(MouseButton button, WPARAM keys, LPARAM position);
    bool setCursorAtPointer();

    Surface& surface_;
    HWND window_ = nullptr;
    BITMAPINFO bitmapInfo_{};
};

bool Win32Window::build(HWND parent) {
    if (!parent || !IsWindow(parent)) return false;
    const char* className = win32::windowClassName(&Win32Window::procedure);
    if (!className) return false;

    // Top-down 32-bit pixels: the surface's buffer as it is.
    bitmapInfo_.bmiHeader.biSize = sizeof bitmapInfo_.bmiHeader;
    bitmapInfo_.bmiHeader.biWidth = surface_.width();
    bitmapInfo_.bmiHeader.biHeight = -surface_.height();
    bitmapInfo_.bmiHeader.biPlanes = 1;
    bitmapInfo_.bmiHeader.biBitCount = 32;
    bitmapInfo_.bmiHeader.biCompression = BI_RGB;

    // WM_CREATE attaches this object to the window (procedure()).
    CreateWindowExA(0, className, surface_.caption(), WS_CHILD | WS_CLIPSIBLINGS, 0, 0, surface_.width(),
                    surface_.height(), parent, nullptr, win32::moduleInstance(), this);
    if (!window_) return false;
    SetTimer(window_, kTimerId, static_cast<UINT>(surface_.timerIntervalMs()), nullptr);
    return true;
}

Win32Window::~Win32Window() {
    // The window is gone already when the host destroyed its own window
    // first (WM_NCDESTROY cleared window_).
    if (window_) DestroyWindow(window_);
}

void Win32Window::show() {
    if (window_) ShowWindow(window_, SW_SHOW);
}

void Win32Window::hide() {
    surface_.mouseCaptureLost();
    if (!window_) return;
    if (GetCapture() == window_) ReleaseCapture();
    ShowWindow(window_, SW_HIDE);
}

void Win32Window::repaint() {
    if (!window_) return;
    invalidateIfChanged();
    UpdateWindow(window_);
}

LRESULT CALLBACK Win32Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed, by us or with the host's window: never touch it again.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: paint(); return 0;
        case WM_ERASEBKGND: return 0;  // nothing erased: the surface paints every pixel
        case WM_TIMER:
            if (wParam != kTimerId) break;
            surface_.timerTick();
            invalidateIfChanged();
            return 0;
        case WM_MOUSEMOVE:
            surface_.mouseMove(shiftStateOf(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            invalidateIfChanged();
            return 0;
        case WM_LBUTTONDOWN: onPress(MouseButton::Left, wParam, lParam, false); return 0;
        case WM_LBUTTONDBLCLK: onPress(MouseButton::Left, wParam, lParam, true); return 0;
        case WM_RBUTTONDOWN: onPress(MouseButton::Right, wParam, lParam, false); return 0;
        case WM_RBUTTONDBLCLK: onPress(MouseButton::Right, wParam, lParam, true); return 0;
        case WM_MBUTTONDOWN: onPress(MouseButton::Middle, wParam, lParam, false); return 0;
        case WM_MBUTTONDBLCLK: onPress(MouseButton::Middle, wParam, lParam, true); return 0;
        case WM_LBUTTONUP: onRelease(MouseButton::Left, wParam, lParam); return 0;
        case WM_RBUTTONUP: onRelease(MouseButton::Right, wParam, lParam); return 0;
        case WM_MBUTTONUP: onRelease(MouseButton::Middle, wParam, lParam); return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse (lParam): the release will not come here.
            if (reinterpret_cast<HWND>(lParam) != window_) surface_.mouseCaptureLost();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && setCursorAtPointer()) return TRUE;
            break;
        case WM_DESTROY: KillTimer(window_, kTimerId); return 0;
        default: break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void Win32Window::onPress(MouseButton button, WPARAM keys, LPARAM position, bool doubleClick) {
    // A left drag keeps delivering moves and the release from outside the window.
    if (button == MouseButton::Left) SetCapture(window_);
    ShiftState shift = shiftStateOf(keys);
    if (doubleClick) shift |= kDoubleClick;
    surface_.mouseDown(button, shift, GET_X_LPARAM(position), GET_Y_LPARAM(position));
    invalidateIfChanged();
}

void Win32Window::onRelease(MouseButton button, WPARAM keys, LPARAM position) {
    surface_.mouseUp(button, shiftStateOf(keys), GET_X_LPARAM(position), GET_Y_LPARAM(position));
    // After the surface had the release: giving up the capture sends
    // WM_CAPTURECHANGED, which ends the surface's capture too.
    if (button == MouseButton::Left && window_ && GetCapture() == window_) ReleaseCapture();
    invalidateIfChanged();
}

bool Win32Window::setCursorAtPointer() {
    POINT pointer;
    if (!GetCursorPos(&pointer) || !ScreenToClient(window_, &pointer)) return false;
    const Cursor cursor = surface_.cursorAt(pointer.x, pointer.y);
    SetCursor(LoadCursor(nullptr, cursor == Cursor::Hand ? IDC_HAND : IDC_ARROW));
    return true;
}

void Win32Window::invalidateIfChanged() {
    if (surface_.needsRender()) InvalidateRect(window_, nullptr, FALSE);
}

void Win32Window::paint() {
    PAINTSTRUCT paintInfo;
    HDC context = BeginPaint(window_, &paintInfo);
    if (context) {
        const std::uint32_t* pixels = surface_.render();
        SetDIBitsToDevice(context, 0, 0, static_cast<DWORD>(surface_.width()), static_cast<DWORD>(surface_.height()),
                          0, 0, 0, static_cast<UINT>(surface_.height()), pixels, &bitmapInfo_, DIB_RGB_COLORS);
    }
    EndPaint(window_, &paintInfo);
}

}  // namespace

std::unique_ptr<NativeWindow> NativeWindow::create(void* parent, Surface& surface) {
    auto window = std::make_unique<Win32Window>(surface);
    if (!window->build(static_cast<HWND>(parent))) return nullptr;
    return window;
}

}  // namespace gui
