// The render loop: audio from a source goes through the plug-in block by
// block while timed events (MIDI messages, parameter and program changes)
// are applied between blocks. The plug-in does not look at an event's
// position inside a block, so a block always starts exactly at the next
// event: a note-on at sample N is sent with effProcessEvents right before
// the processReplacing call whose first frame is N.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "plugin_instance.h"

namespace render {

struct TimedEvent {
    enum class Kind { Midi, Parameter, Program };

    std::int64_t frame = 0;
    Kind kind = Kind::Midi;
    std::array<unsigned char, 3> midi{};  // Kind::Midi: status and data bytes
    VstInt32 index = 0;                   // Kind::Parameter / Kind::Program
    float value = 0.0f;                   // Kind::Parameter

    static TimedEvent midiMessage(std::int64_t frame, unsigned char status, unsigned char data1, unsigned char data2);
    static TimedEvent parameter(std::int64_t frame, VstInt32 index, float value);
    static TimedEvent program(std::int64_t frame, VstInt32 program);
};

// Orders events by frame; events at the same frame keep their order.
void sortByFrame(std::vector<TimedEvent>& events);

// Fills `left` and `right` with the next `frames` input frames.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual void read(float* left, float* right, int frames) = 0;
};

// Silence, for synth renders without an input file.
class SilentSource : public AudioSource {
public:
    void read(float* left, float* right, int frames) override;
};

// Receives each processed block.
using BlockSink = std::function<void(const float* left, const float* right, int frames)>;
// Told the frames done so far and the total after every block; may throw to
// stop the render.
using ProgressReport = std::function<void(std::int64_t done, std::int64_t total)>;

struct RenderJob {
    AudioSource* source = nullptr;  // null: silence
    std::vector<TimedEvent> events; // sorted by frame; events at or past `frames` are not applied
    std::int64_t frames = 0;
    int blockSize = 512;            // at most what the plug-in was told
};

struct RenderCounts {
    std::int64_t frames = 0;
    std::int64_t blocks = 0;
    std::int64_t eventLists = 0;    // effProcessEvents calls
    std::int64_t midiEvents = 0;
    double wallSeconds = 0.0;       // time spent in the loop
};

// Runs the job through a switched-on plug-in (two or more inputs and outputs;
// outputs 0 and 1 go to the sink).
RenderCounts render(host::PluginInstance& plugin, const RenderJob& job, const BlockSink& sink,
                    const ProgressReport& progress = {});

}  // namespace render
