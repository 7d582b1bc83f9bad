// The stored description of the editor window's form and the bitmaps and
// fonts it names.
#pragma once

#include <cstddef>

#include "gui/form.h"

extern const gui::ControlDescription kPluginEditorForm[];
extern const std::size_t kPluginEditorFormSize;

constexpr int kPluginEditorWidth = 339;
constexpr int kPluginEditorHeight = 220;
constexpr std::uint32_t kPluginEditorColour = 0xFFFFFF;  // covered entirely by the background image

// The embedded artwork (assets/bitmaps) and the two faces of the labels.
const gui::Resources& pluginEditorResources();
