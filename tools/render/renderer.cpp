#include "renderer.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>

#include "event_list.h"

namespace render {

TimedEvent TimedEvent::midiMessage(std::int64_t frame, unsigned char status, unsigned char data1,
                                   unsigned char data2) {
    TimedEvent event;
    event.frame = frame;
    event.kind = Kind::Midi;
    event.midi = {status, data1, data2};
    return event;
}

TimedEvent TimedEvent::parameter(std::int64_t frame, VstInt32 index, float value) {
    TimedEvent event;
    event.frame = frame;
    event.kind = Kind::Parameter;
    event.index = index;
    event.value = value;
    return event;
}

TimedEvent TimedEvent::program(std::int64_t frame, VstInt32 program) {
    TimedEvent event;
    event.frame = frame;
    event.kind = Kind::Program;
    event.index = program;
    return event;
}

void sortByFrame(std::vector<TimedEvent>& events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.frame < b.frame; });
}

void SilentSource::read(float* left, float* right, int frames) {
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
}

namespace {

// The host's channel buffers: at least two, as many as the plug-in declares.
struct Channels {
    Channels(VstInt32 count, int blockSize)
        : data(static_cast<std::size_t>(std::max<VstInt32>(count, 2)), std::vector<float>(blockSize, 0.0f)) {
        for (auto& channel : data) pointers.push_back(channel.data());
    }
    std::vector<std::vector<float>> data;
    std::vector<float*> pointers;
};

}  // namespace

RenderCounts render(host::PluginInstance& plugin, const RenderJob& job, const BlockSink& sink,
                    const ProgressReport& progress) {
    const auto start = std::chrono::steady_clock::now();
    const AEffect& effect = *plugin.effect();
    const int blockSize = std::max(job.blockSize, 1);
    Channels inputs(effect.numInputs, blockSize);
    Channels outputs(effect.numOutputs, blockSize);
    const float* rightOutput = effect.numOutputs >= 2 ? outputs.pointers[1] : outputs.pointers[0];
    SilentSource silence;
    AudioSource& source = job.source ? *job.source : silence;

    RenderCounts counts;
    host::EventList due;
    std::size_t next = 0;
    std::int64_t position = 0;
    while (position < job.frames) {
        // Everything due at this frame goes in before the block that starts here.
        due.clear();
        for (; next < job.events.size() && job.events[next].frame <= position; ++next) {
            const TimedEvent& event = job.events[next];
            switch (event.kind) {
                case TimedEvent::Kind::Midi: due.add({event.midi[0], event.midi[1], event.midi[2]}); break;
                case TimedEvent::Kind::Parameter: plugin.setParameter(event.index, event.value); break;
                case TimedEvent::Kind::Program: plugin.dispatch(effSetProgram, 0, event.index); break;
            }
        }
        if (!due.empty()) {
            plugin.dispatch(effProcessEvents, 0, 0, due.get());
            ++counts.eventLists;
            counts.midiEvents += static_cast<std::int64_t>(due.size());
        }

        // The block ends at the next event, the block size or the end.
        std::int64_t end = std::min(job.frames, position + blockSize);
        if (next < job.events.size()) end = std::min(end, job.events[next].frame);
        const int frames = static_cast<int>(end - position);

        source.read(inputs.pointers[0], inputs.pointers[1], frames);
        for (auto& channel : outputs.data) std::fill(channel.begin(), channel.end(), 0.0f);
        plugin.processReplacing(inputs.pointers.data(), outputs.pointers.data(), frames);
        sink(outputs.pointers[0], rightOutput, frames);

        position = end;
        ++counts.blocks;
        if (progress) progress(position, job.frames);
    }
    counts.frames = position;
    counts.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return counts;
}

}  // namespace render
