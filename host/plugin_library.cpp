#include "plugin_library.h"

#include <cstdlib>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace host {

namespace {

#if defined(_WIN32)
constexpr const char* kPluginFile = "Orvalune.dll";

std::string lastErrorText() {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, text,
                   sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message;
}

std::string programDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    const auto slash = text.find_last_of("\\/");
    return slash == std::string::npos ? "." : text.substr(0, slash);
}
#else
constexpr const char* kPluginFile = "Orvalune.so";

std::string programDirectory() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    std::string text(path, static_cast<std::size_t>(length));
    const auto slash = text.find_last_of('/');
    return slash == std::string::npos ? "." : text.substr(0, slash);
}
#endif

}  // namespace

std::string PluginLibrary::defaultPath() {
    if (const char* path = std::getenv("ORVALUNE_PLUGIN"); path && *path) return path;
    return programDirectory() + "/" + kPluginFile;
}

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) throw std::runtime_error("cannot load plug-in '" + path + "': " + lastErrorText());
    handle_ = module;
    entry_ = reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(module, "main")));
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) throw std::runtime_error("cannot load plug-in '" + path + "': " + dlerror());
    entry_ = reinterpret_cast<PluginEntry>(dlsym(handle_, "main"));
#endif
    if (!entry_) {
        unload();
        throw std::runtime_error("'" + path + "' is not a VST 2 plug-in: it exports no 'main'");
    }
}

PluginLibrary::~PluginLibrary() { unload(); }

void PluginLibrary::unload() noexcept {
    if (!handle_) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
}

}  // namespace host
