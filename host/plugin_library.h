// Loads a plug-in binary (Orvalune.so or Orvalune.dll) the way a host does and
// finds its exported entry `main`.
#pragma once

#include <string>

#include "vst/aeffect.h"

namespace host {

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback host);

class PluginLibrary {
public:
    // Throws std::runtime_error naming the file and the loader's reason.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    PluginEntry entry() const noexcept { return entry_; }
    const std::string& path() const noexcept { return path_; }

    // The plug-in binary of this build: $ORVALUNE_PLUGIN if set, otherwise
    // Orvalune.so (Orvalune.dll on Windows) next to the running program.
    static std::string defaultPath();

private:
    void unload() noexcept;

    std::string path_;
    void* handle_ = nullptr;
    PluginEntry entry_ = nullptr;
};

}  // namespace host
