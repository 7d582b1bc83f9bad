// Shared by the host-level tests: the plug-in binary of this build, loaded
// once per test program, and small helpers for talking to an instance.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "plugin_instance.h"
#include "plugin_library.h"

inline host::PluginLibrary& pluginLibrary() {
    static host::PluginLibrary library(host::PluginLibrary::defaultPath());
    return library;
}

// A fresh instance, opened (effOpen) like hosts do after `main`.
inline std::unique_ptr<host::PluginInstance> openInstance(host::HostOptions options = {}) {
    auto instance = std::make_unique<host::PluginInstance>(pluginLibrary(), std::move(options));
    if (*instance) instance->dispatch(effOpen);
    return instance;
}

// Parameter indices and counts as the host sees them.
enum : VstInt32 { kWaveform, kRelease, kGlide, kMorphTime, kAttack, kVowel, kDryWet, kVolume, kParamCount };
constexpr VstInt32 kProgramCount = 8;

// The record's flags right after `main`: has an editor, can mono, can replace (25).
constexpr VstInt32 kExpectedFlags = effFlagsHasEditor | effFlagsCanMono | effFlagsCanReplacing;
