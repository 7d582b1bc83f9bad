// Standard MIDI Files through libsmf: the channel messages of every track,
// merged in time order, with their times turned into sample positions.
#pragma once

#include <string>
#include <vector>

#include "renderer.h"

namespace render {

struct MidiSong {
    std::vector<TimedEvent> events;  // channel messages, in time order
    double seconds = 0.0;            // time of the last event
    int skipped = 0;                 // system-exclusive and other messages not sent
};

// Throws std::runtime_error naming the file and the problem for a missing,
// unreadable or broken file.
MidiSong loadMidiFile(const std::string& path, double sampleRate);

}  // namespace render
