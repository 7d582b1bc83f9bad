// A picture of the plug-in's editor showing given parameter values, written
// as a PNG file.
#pragma once

#include <string>

namespace render {

// `parameters` holds the values of parameters 0 to 7 as the plug-in holds
// them. Returns false and sets `error` (one line) when no picture was written.
bool writeEditorSnapshot(const float (&parameters)[8], const std::string& pngPath, std::string& error);

}  // namespace render
