// Helpers for the audio and MIDI tests: an instance set up as a host does
// before it sends audio, stereo signals, event lists of any length.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "event_list.h"
#include "host_fixture.h"

// A stereo signal.
struct Stereo {
    std::vector<float> left, right;

    Stereo() = default;
    explicit Stereo(std::size_t frames, float l = 0.0f, float r = 0.0f) : left(frames, l), right(frames, r) {}
    std::size_t frames() const { return left.size(); }

    // Uniform noise in [-amplitude, amplitude), the same for the same seed on
    // every build (integer generator, exact conversion).
    static Stereo noise(std::size_t frames, float amplitude, std::uint32_t seed = 1) {
        Stereo signal(frames);
        for (std::size_t i = 0; i < frames; ++i) {
            signal.left[i] = amplitude * next(seed);
            signal.right[i] = amplitude * next(seed);
        }
        return signal;
    }

    // Frames [begin, end).
    Stereo slice(std::size_t begin, std::size_t end) const {
        Stereo part;
        part.left.assign(left.begin() + begin, left.begin() + end);
        part.right.assign(right.begin() + begin, right.begin() + end);
        return part;
    }

    void append(const Stereo& more) {
        left.insert(left.end(), more.left.begin(), more.left.end());
        right.insert(right.end(), more.right.begin(), more.right.end());
    }

    // Bit-for-bit equality (no NaN is ever produced by the plug-in's clip).
    bool operator==(const Stereo& other) const {
        return frames() == other.frames() && std::memcmp(left.data(), other.left.data(), frames() * sizeof(float)) == 0 &&
               std::memcmp(right.data(), other.right.data(), frames() * sizeof(float)) == 0;
    }

private:
    static float next(std::uint32_t& seed) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) * 0x1.0p-23f - 1.0f;
    }
};

using host::EventList;

// An instance as a host prepares it: 44100 Hz, blocks of 512, resumed.
class Player {
public:
    explicit Player(float sampleRate = 44100.0f, VstInt32 blockSize = 512, bool resume = true) : plugin_(openInstance()) {
        plugin_->dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
        plugin_->dispatch(effSetBlockSize, 0, blockSize);
        if (resume) plugin_->dispatch(effMainsChanged, 0, 1);
    }

    host::PluginInstance* operator->() { return plugin_.get(); }
    host::PluginInstance& instance() { return *plugin_; }

    void set(VstInt32 index, float value) { plugin_->setParameter(index, value); }
    VstIntPtr midi(std::initializer_list<EventList::Midi> messages) {
        EventList list(messages);
        return plugin_->dispatch(effProcessEvents, 0, 0, list.get());
    }

    // Processes the signal with processReplacing in blocks of `block` frames
    // and answers the output.
    Stereo run(const Stereo& input, std::size_t block = 512) {
        Stereo in = input, out(input.frames(), 7.0f, 7.0f);
        for (std::size_t done = 0; done < in.frames(); done += block) {
            const std::size_t n = std::min(block, in.frames() - done);
            float* inputs[2] = {in.left.data() + done, in.right.data() + done};
            float* outputs[2] = {out.left.data() + done, out.right.data() + done};
            plugin_->processReplacing(inputs, outputs, static_cast<VstInt32>(n));
        }
        return out;
    }
    Stereo run(std::size_t frames, float left, float right, std::size_t block = 512) {
        return run(Stereo(frames, left, right), block);
    }

private:
    std::unique_ptr<host::PluginInstance> plugin_;
};

// Note numbers and messages.
constexpr unsigned char kNoteOnStatus = 0x90, kNoteOffStatus = 0x80, kControllerStatus = 0xB0;
inline EventList::Midi noteOn(unsigned char note, unsigned char velocity = 100, unsigned char channel = 0) {
    return {static_cast<unsigned char>(kNoteOnStatus | channel), note, velocity};
}
inline EventList::Midi noteOff(unsigned char note, unsigned char channel = 0) {
    return {static_cast<unsigned char>(kNoteOffStatus | channel), note, 64};
}
inline EventList::Midi controller(unsigned char number, unsigned char value, unsigned char channel = 0) {
    return {static_cast<unsigned char>(kControllerStatus | channel), number, value};
}

// Waveform values on either side of the thresholds.
constexpr float kSawtooth = 0.0f, kSquare = 0.4f, kNoise = 0.8f;
