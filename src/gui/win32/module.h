// The plug-in library's module on Windows: its instance handle, recorded when
// the library loads, and the editor's window class, registered for that
// module on first use and unregistered when the library unloads (a class left
// behind would point at code that is gone, and the next load of the library
// at the same address could not register it again).
#pragma once

#include <windows.h>

namespace gui::win32 {

// From DllMain, DLL_PROCESS_ATTACH.
void setModuleInstance(HINSTANCE instance) noexcept;
HINSTANCE moduleInstance() noexcept;

// The editor's window class for this module; registers it on first use.
// Answers null when it cannot be registered.
const char* windowClassName(WNDPROC procedure) noexcept;

// From DllMain, DLL_PROCESS_DETACH.
void unregisterWindowClass() noexcept;

}  // namespace gui::win32
