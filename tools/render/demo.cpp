// The built-in demo: two renders that show what the plug-in does, each
// written as a WAV file and a spectrogram picture.
//
//   effect pass: a sawtooth chord with a little noise goes through the
//                filter bank while the vowel steps through a, e, i, o, u;
//                the formants show as bands that move at each step.
//   synth pass:  a short legato melody on the plug-in's voice, with a slow
//                glide between the notes and a vowel for each note.

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio_files.h"
#include "commands.h"
#include "host_session.h"
#include "interrupt.h"
#include "output_file.h"
#include "signal_stats.h"
#include "spectrogram.h"
#include "summary.h"

namespace render {

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlockSize = 512;

std::int64_t frameAt(double seconds) { return std::llround(seconds * kRate); }

// A signal held in memory, played as the plug-in's input.
class MemorySource : public AudioSource {
public:
    explicit MemorySource(const std::vector<float>& samples) : samples_(samples) {}
    void read(float* left, float* right, int frames) override {
        for (int i = 0; i < frames; ++i, ++position_) {
            const float sample = position_ < samples_.size() ? samples_[position_] : 0.0f;
            left[i] = right[i] = sample;
        }
    }

private:
    const std::vector<float>& samples_;
    std::size_t position_ = 0;
};

// A sawtooth with its step smoothed over one sample (polyBLEP), so that the
// spectrogram shows the harmonics and not their aliases.
class Sawtooth {
public:
    explicit Sawtooth(double frequency) : step_(frequency / kRate) {}
    double next() {
        double value = 2.0 * phase_ - 1.0;
        if (phase_ < step_) {
            const double t = phase_ / step_;
            value -= t + t - t * t - 1.0;
        } else if (phase_ > 1.0 - step_) {
            const double t = (phase_ - 1.0) / step_;
            value -= t * t + t + t + 1.0;
        }
        phase_ += step_;
        if (phase_ >= 1.0) phase_ -= 1.0;
        return value;
    }

private:
    double step_;
    double phase_ = 0.0;
};

// An A major chord (110, 138.6 and 164.8 Hz) of sawtooth waves with a little
// white noise, which fills the gaps between the harmonics so that the
// formants show clearly.
std::vector<float> chordWithNoise(double seconds) {
    Sawtooth voices[] = {Sawtooth(110.0), Sawtooth(138.59), Sawtooth(164.81)};
    std::uint32_t noise = 12345;
    std::vector<float> samples(static_cast<std::size_t>(frameAt(seconds)));
    for (float& sample : samples) {
        double value = 0.0;
        for (Sawtooth& voice : voices) value += 0.15 * voice.next();
        noise = noise * 1664525u + 1013904223u;
        value += 0.3 * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0);
        sample = static_cast<float>(value);
    }
    return samples;
}

struct Pass {
    std::string name;         // file name without extension
    std::string description;
    const std::vector<float>* input = nullptr;  // null: silence
    double seconds = 0.0;
    std::vector<Setting> start;
    struct Change {
        double at;
        std::string name;
        std::string value;
    };
    std::vector<Change> changes;
    struct Note {
        double at;
        unsigned char status, key, velocity;
    };
    std::vector<Note> notes;
};

Pass effectPass(const std::vector<float>& source) {
    Pass pass;
    pass.name = "effect-vowels";
    pass.description = "effect: a sawtooth chord with noise through the vowels a, e, i, o, u";
    pass.input = &source;
    pass.seconds = 5.0;
    // Fully wet; a morph of 0.2 s, set before the first vowel so that the
    // bank fades in quickly.
    pass.start = {{"drywet", "0"}, {"volume", "0.333333"}, {"morph", "0.05"}, {"vowel", "a"}};
    const char* vowels[] = {"e", "i", "o", "u"};
    for (int i = 0; i < 4; ++i) pass.changes.push_back({1.0 + i, "vowel", vowels[i]});
    return pass;
}

Pass synthPass() {
    Pass pass;
    pass.name = "synth-melody";
    pass.description = "synth: a legato melody with glide, one vowel per note";
    pass.seconds = 6.6;
    // The fastest attack; a quick glide to the first note (the voice starts
    // at 0 Hz), then a slow one of about 270 Hz per second between notes.
    pass.start = {{"waveform", "saw"}, {"attack", "1"}, {"release", "0.3"}, {"glide", "0.9"},
                  {"drywet", "0"},     {"volume", "0.75"}, {"morph", "0.03"}, {"vowel", "a"}};
    pass.changes.push_back({0.1, "glide", "0.02"});
    struct Step {
        unsigned char key;
        const char* vowel;
    } const melody[] = {{57, "a"}, {60, "e"}, {64, "i"}, {69, "o"}, {67, "u"}, {64, "e"}, {57, "a"}};
    const double noteSeconds = 0.8;
    for (std::size_t i = 0; i < std::size(melody); ++i) {
        const double at = noteSeconds * static_cast<double>(i);
        // Legato: the next note starts before the last one ends, so the
        // voice glides instead of starting a new attack.
        pass.notes.push_back({at, 0x90, melody[i].key, 100});
        if (i > 0) pass.notes.push_back({at + 0.05, 0x80, melody[i - 1].key, 0});
        if (i > 0) pass.changes.push_back({at, "vowel", melody[i].vowel});
    }
    pass.notes.push_back({noteSeconds * static_cast<double>(std::size(melody)) - 0.2, 0x80, melody[std::size(melody) - 1].key, 0});
    return pass;
}

std::vector<float> monoMix(const std::vector<float>& left, const std::vector<float>& right) {
    std::vector<float> mono(left.size());
    for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5f * (left[i] + right[i]);
    return mono;
}

void writeSpectrogram(const std::vector<float>& signal, const std::string& path) {
    OutputFile png(path);
    writePng(spectrogramImage(signal, kRate), png.temporaryPath(), png.target());
    png.commit();
}

void writeSource(const std::vector<float>& source, const std::filesystem::path& directory, bool quiet) {
    const std::string wavPath = (directory / "effect-source.wav").string();
    OutputFile wav(wavPath);
    WavWriter writer(wav.temporaryPath(), wav.target(), kRate, SampleFormat::Float32,
                     static_cast<std::int64_t>(source.size()));
    writer.write(source.data(), source.data(), static_cast<int>(source.size()));
    writer.close();
    wav.commit();
    const std::string pngPath = (directory / "effect-source.png").string();
    writeSpectrogram(source, pngPath);
    if (!quiet) std::printf("\nsource of the effect pass (dry)\n  wrote %s, %s\n", wavPath.c_str(), pngPath.c_str());
}

void runPass(const Pass& pass, const Options& options, const std::filesystem::path& directory) {
    HostSession session(pluginPath(options), kRate, kBlockSize);
    for (const Setting& setting : pass.start) session.applySetting(setting);

    RenderJob job;
    job.frames = frameAt(pass.seconds);
    job.blockSize = kBlockSize;
    for (const Pass::Note& note : pass.notes)
        job.events.push_back(TimedEvent::midiMessage(frameAt(note.at), note.status, note.key, note.velocity));
    for (const Pass::Change& change : pass.changes) {
        const VstInt32 index = session.parameters().resolve(change.name);
        job.events.push_back(TimedEvent::parameter(frameAt(change.at), index, session.parameters().value(index, change.value)));
    }
    sortByFrame(job.events);
    std::unique_ptr<MemorySource> source;
    if (pass.input) source = std::make_unique<MemorySource>(*pass.input);
    job.source = source.get();

    const std::string wavPath = (directory / (pass.name + ".wav")).string();
    const std::string pngPath = (directory / (pass.name + ".png")).string();
    OutputFile wav(wavPath);
    WavWriter writer(wav.temporaryPath(), wav.target(), kRate, SampleFormat::Float32, job.frames);
    SignalStats stats;
    std::vector<float> left, right;
    session.switchOn();
    const RenderCounts counts = render(
        session.plugin(), job,
        [&](const float* l, const float* r, int frames) {
            writer.write(l, r, frames);
            stats.add(l, r, frames);
            left.insert(left.end(), l, l + frames);
            right.insert(right.end(), r, r + frames);
        },
        [](std::int64_t, std::int64_t) { stopIfInterrupted(); });
    session.switchOff();
    writer.close();
    wav.commit();
    writeSpectrogram(monoMix(left, right), pngPath);

    if (!options.quiet) {
        std::printf("\n%s\n  wrote %s, %s\n", pass.description.c_str(), wavPath.c_str(), pngPath.c_str());
        printSummary(stdout, counts, stats, kRate, "  ");
    }
}

}  // namespace

int demoCommand(const Options& options) {
    const auto start = std::chrono::steady_clock::now();
    catchInterrupts();  // before any file is created
    const std::filesystem::path directory(options.demoDirectory);
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (!std::filesystem::is_directory(directory))
        throw std::runtime_error("cannot create the demo directory '" + directory.string() + "'" +
                                 (error ? ": " + error.message() : ""));
    if (!options.quiet) std::printf("Orvalune demo with %s\n", pluginPath(options).c_str());

    const std::vector<float> source = chordWithNoise(5.0);
    writeSource(source, directory, options.quiet);
    runPass(effectPass(source), options, directory);
    runPass(synthPass(), options, directory);

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!options.quiet) std::printf("\ndemo finished in %.2f s (wall time); files in %s/\n", seconds, directory.string().c_str());
    return 0;
}

}  // namespace render
