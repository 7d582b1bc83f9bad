// The tool's commands, one per mode. Each returns the exit status; failures
// are thrown (UsageError or std::runtime_error, one-line messages) and main
// reports them.
#pragma once

#include "command_line.h"
#include "plugin_library.h"

namespace render {

int renderCommand(const Options& options);         // render.cpp
int infoCommand(const Options& options);           // plugin_info.cpp
int editorSnapshotCommand(const Options& options); // snapshot_command.cpp
int demoCommand(const Options& options);           // demo.cpp

// The plug-in binary to load. A bare file name means the file in the current
// directory: the loader would otherwise look it up on the library search path.
inline std::string pluginPath(const Options& options) {
    if (options.pluginPath.empty()) return host::PluginLibrary::defaultPath();
    if (options.pluginPath.find('/') == std::string::npos) return "./" + options.pluginPath;
    return options.pluginPath;
}

}  // namespace render
