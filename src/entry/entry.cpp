// The library's single export, `main`, and its load-time start-up.

#include "entry/library_start.h"
#include "plugin/plugin.h"

#if defined(_WIN32)
#include <windows.h>

#include "gui/win32/module.h"
#define ORVALUNE_EXPORT
#else
#define ORVALUNE_EXPORT __attribute__((visibility("default")))
#endif

// A C++ function may not be called main: on Windows the module-definition
// file exports this one as `main`, elsewhere the assembler label names it.
extern "C" ORVALUNE_EXPORT AEffect* VSTCALLBACK orvaluneMain(audioMasterCallback audioMaster)
#if !defined(_WIN32)
    __asm__("main")
#endif
        ;

// Creates one instance for the host; null when the host predates the
// version request (answers 0) or the instance cannot be created.
extern "C" AEffect* VSTCALLBACK orvaluneMain(audioMasterCallback audioMaster) {
    if (!audioMaster) return nullptr;
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        APlugin* plugin = new APlugin(audioMaster);
        return plugin->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

#if defined(_WIN32)
// The editor's window class is registered for this library's own module and
// must be gone before the library's code is.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        gui::win32::setModuleInstance(instance);
        library_start::run();
    } else if (reason == DLL_PROCESS_DETACH) {
        gui::win32::unregisterWindowClass();
    }
    return TRUE;
}
#else
__attribute__((constructor)) static void onLibraryLoad() { library_start::run(); }
#endif
