// Drives the plug-in through fixed scenarios (effect and synth mode, with
// parameter, program, sample-rate and MIDI changes) and prints one line per
// scenario: its name and a digest of every output sample's bits. Every build
// must print the same lines: tests/cross/bit_identity.sh compares the Linux,
// 64-bit Windows and 32-bit Linux builds, and with --expect FILE the program
// compares its lines with FILE and fails on a difference.
//
// The noise waveform is left out: the generator is seeded from the clock.

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "plugin_instance.h"
#include "plugin_library.h"

namespace {

enum : VstInt32 { kWaveform, kRelease, kGlide, kMorphTime, kAttack, kVowel, kDryWet, kVolume };

// FNV-1a over the bytes of each sample, lowest byte first.
class Digest {
public:
    void add(float sample) {
        std::uint32_t bits;
        std::memcpy(&bits, &sample, sizeof bits);
        for (int i = 0; i < 4; ++i) {
            hash_ ^= (bits >> (8 * i)) & 0xFF;
            hash_ *= 0x100000001B3ull;
        }
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

// One instance, a deterministic input and the digest of everything it gave.
class Scenario {
public:
    explicit Scenario(host::PluginLibrary& library, float sampleRate = 44100.0f)
        : plugin_(std::make_unique<host::PluginInstance>(library)) {
        plugin_->dispatch(effOpen);
        plugin_->dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
        plugin_->dispatch(effSetBlockSize, 0, 1024);
        plugin_->dispatch(effMainsChanged, 0, 1);
    }

    host::PluginInstance& plugin() { return *plugin_; }
    void set(VstInt32 index, float value) { plugin_->setParameter(index, value); }

    void midi(unsigned char status, unsigned char data1, unsigned char data2) {
        plugin_->sendMidi(status, data1, data2);
    }

    // Processes `frames` frames in blocks of the given sizes, in turn, with
    // input from `source` (frame index -> left, right).
    void run(std::int64_t frames, std::vector<VstInt32> blocks, float amplitude, bool accumulate = false,
             const std::function<void(std::int64_t, float&, float&)>& source = {}) {
        for (std::int64_t done = 0, k = 0; done < frames; ++k) {
            const auto n = static_cast<VstInt32>(std::min<std::int64_t>(blocks[k % blocks.size()], frames - done));
            left_.resize(n);
            right_.resize(n);
            outLeft_.assign(n, accumulate ? 0.25f : 9.0f);
            outRight_.assign(n, accumulate ? -0.25f : 9.0f);
            for (VstInt32 i = 0; i < n; ++i) {
                left_[i] = amplitude * next();
                right_[i] = amplitude * next();
                if (source) source(done + i, left_[i], right_[i]);
            }
            float* inputs[2] = {left_.data(), right_.data()};
            float* outputs[2] = {outLeft_.data(), outRight_.data()};
            if (accumulate)
                plugin_->process(inputs, outputs, n);
            else
                plugin_->processReplacing(inputs, outputs, n);
            for (VstInt32 i = 0; i < n; ++i) {
                digest_.add(outLeft_[i]);
                digest_.add(outRight_[i]);
            }
            done += n;
        }
    }

    std::uint64_t digest() const { return digest_.value(); }

private:
    // An integer generator and an exact conversion: the same on every build.
    float next() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return static_cast<float>(seed_ >> 8) * 0x1.0p-23f - 1.0f;
    }

    std::unique_ptr<host::PluginInstance> plugin_;
    std::vector<float> left_, right_, outLeft_, outRight_;
    std::uint32_t seed_ = 2024;
    Digest digest_;
};

std::uint64_t effect(host::PluginLibrary& library) {
    Scenario s(library);
    s.run(60000, {512, 1, 333, 64, 1000}, 0.5f);  // the fade-in
    const float vowels[] = {0.1f, 0.2f, 0.3f, 0.4f, 0.25f, 0.75f, 0.0f};
    for (int i = 0; i < 7; ++i) {
        s.set(kVowel, vowels[i]);
        s.run(9000, {128, 129, 7}, 0.7f);
        if (i == 2) s.set(kMorphTime, 0.02f);  // freezes the running morph
        if (i == 4) s.set(kMorphTime, 0.0f);
    }
    s.set(kDryWet, 0.3f);
    s.set(kVolume, 0.1f);
    s.run(20000, {256}, 2.0f);  // loud enough to clip
    s.plugin().dispatch(effSetProgram, 0, 2);
    s.set(kVowel, 0.3f);
    s.run(20000, {4096, 17}, 0.3f);
    s.plugin().dispatch(effSetProgram, 0, 0);
    s.run(30000, {512}, 0.3f);
    s.run(50000, {512}, 0.0f);  // silence settling on the bias
    return s.digest();
}

std::uint64_t effectAccumulating(host::PluginLibrary& library) {
    Scenario s(library, 48000.0f);
    s.set(kMorphTime, 0.05f);
    for (int i = 0; i < 10; ++i) {
        s.set(kVowel, 0.1f * static_cast<float>(i % 5));
        s.run(12000, {480, 31}, 0.8f, true);
    }
    return s.digest();
}

std::uint64_t synth(host::PluginLibrary& library) {
    Scenario s(library);
    s.set(kDryWet, 0.2f);
    const unsigned char notes[] = {57, 69, 81, 40, 127, 5, 100};
    for (int i = 0; i < 7; ++i) {
        s.set(kWaveform, i % 2 ? 0.4f : 0.0f);
        s.set(kGlide, 0.15f * static_cast<float>(i));
        s.set(kAttack, 1.0f - 0.1f * static_cast<float>(i));
        s.midi(0x90 | (i % 16), notes[i], 100);
        s.run(15000, {512, 100}, 0.5f);
        if (i == 3) s.midi(0x90, 72, 90);  // overlapping
        s.run(3000, {64}, 0.5f);
        s.midi(0x80, notes[i], 0);
        if (i == 5) s.midi(0xB0, 126, 0);
        s.run(8000, {333}, 0.5f);
    }
    s.set(kRelease, 0.0f);
    s.midi(0x90, 62, 80);
    s.run(12000, {1000}, 0.5f);
    s.plugin().dispatch(effSetProgram, 0, 4);
    s.midi(0xB0, 126, 1);
    s.run(30000, {512}, 0.5f);
    return s.digest();
}

std::uint64_t oddInput(host::PluginLibrary& library) {
    Scenario s(library);
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    s.run(30000, {512}, 1.0f, false, [&](std::int64_t frame, float& left, float& right) {
        if (frame == 10000) left = nan;
        if (frame == 15000) right = inf;
        if (frame == 20000) left = right = -inf;
        if (frame > 25000) left *= 1e30f, right *= 1e30f;
    });
    // A voice at sample rates that make its period tiny, zero or negative.
    s.midi(0x90, 69, 100);
    for (float rate : {1.0f, 0.0f, -44100.0f, 44100.0f}) {
        s.plugin().dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        s.run(5000, {500}, 0.1f);
    }
    return s.digest();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        host::PluginLibrary library(host::PluginLibrary::defaultPath());
        const std::pair<const char*, std::function<std::uint64_t(host::PluginLibrary&)>> scenarios[] = {
            {"effect", effect},
            {"effect-accumulating-48k", effectAccumulating},
            {"synth", synth},
            {"odd-input", oddInput},
        };
        std::string lines;
        for (const auto& [name, scenario] : scenarios) {
            char line[128];
            std::snprintf(line, sizeof line, "%s %016" PRIx64 "\n", name, scenario(library));
            lines += line;
        }
        std::fputs(lines.c_str(), stdout);

        if (argc == 3 && std::strcmp(argv[1], "--expect") == 0) {
            std::FILE* file = std::fopen(argv[2], "rb");
            if (!file) {
                std::fprintf(stderr, "cannot read %s\n", argv[2]);
                return 2;
            }
            std::string expected;
            char buffer[256];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) expected.append(buffer, n);
            std::fclose(file);
            if (expected != lines) {
                std::fprintf(stderr, "output bits differ from %s, which holds:\n%s", argv[2], expected.c_str());
                return 1;
            }
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
}
