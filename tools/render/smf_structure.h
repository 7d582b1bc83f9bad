// A check of a Standard MIDI File's structure before libsmf parses it:
// libsmf reads past its buffer on some truncated files, so a file reaches it
// only when every chunk, event and length lies inside the file.
#pragma once

#include <string>
#include <vector>

namespace render {

// Throws std::runtime_error with a short reason ("track 2 is truncated")
// when the bytes are not a well-formed Standard MIDI File.
void checkMidiStructure(const std::vector<unsigned char>& bytes);

}  // namespace render
