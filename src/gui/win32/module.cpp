#include "gui/win32/module.h"

#include <atomic>

namespace gui::win32 {

namespace {
constexpr const char* kClassName = "OrvaluneEditorWindow";
HINSTANCE gInstance = nullptr;
// Windows are created on the host's user-interface thread; a host with
// several such threads still registers only once.
std::atomic<bool> gRegistered{false};
}  // namespace

void setModuleInstance(HINSTANCE instance) noexcept { gInstance = instance; }

HINSTANCE moduleInstance() noexcept { return gInstance; }

const char* windowClassName(WNDPROC procedure) noexcept {
    if (gRegistered.load()) return kClassName;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;  // the second press of a double click arrives as its own message
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = gInstance;
    windowClass.hCursor = nullptr;         // set per control on WM_SETCURSOR
    windowClass.hbrBackground = nullptr;   // the surface paints every pixel
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    gRegistered.store(true);
    return kClassName;
}

void unregisterWindowClass() noexcept {
    if (gRegistered.exchange(false)) UnregisterClassA(kClassName, gInstance);
}

}  // namespace gui::win32
