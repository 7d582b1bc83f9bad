// The render command: input audio and MIDI through the plug-in into a WAV file.

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "audio_files.h"
#include "commands.h"
#include "errors.h"
#include "host_session.h"
#include "interrupt.h"
#include "midi_file.h"
#include "output_file.h"
#include "progress_bar.h"
#include "signal_stats.h"
#include "summary.h"

namespace render {

namespace {

constexpr double kDefaultRate = 44100.0;
constexpr double kMinRate = 1000.0;
constexpr double kMaxRate = 768000.0;
// After a MIDI file's last event: room for the release and the filters' ring.
constexpr double kMidiTailSeconds = 1.0;

// A timed change from --at, parsed before the plug-in is loaded.
struct TimedChange {
    TimeSpec time;
    std::vector<Setting> settings;
};

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string secondsText(std::int64_t frames, double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(frames) / rate);
    return text;
}

// The program or parameter events of the --at options.
void addChanges(const std::vector<TimedChange>& changes, HostSession& session, std::int64_t totalFrames,
                std::vector<TimedEvent>& events) {
    for (const TimedChange& change : changes) {
        const std::int64_t frame = change.time.frameAt(session.sampleRate());
        if (frame >= totalFrames)
            throw UsageError("change at " + change.time.text + " lies past the end of the render (" +
                             secondsText(totalFrames, session.sampleRate()) + ")");
        for (const Setting& setting : change.settings) {
            if (setting.name == "program") {
                events.push_back(TimedEvent::program(frame, parseProgram(setting.value, session.effect().numPrograms)));
                continue;
            }
            const VstInt32 index = session.parameters().resolve(setting.name);
            events.push_back(TimedEvent::parameter(frame, index, session.parameters().value(index, setting.value)));
        }
    }
}

}  // namespace

int renderCommand(const Options& options) {
    catchInterrupts();  // before any file is created
    // Everything that needs no file or plug-in is checked first.
    const SampleFormat format = parseSampleFormat(options.format);
    std::vector<TimedChange> changes;
    for (const auto& [time, settings] : options.changes) changes.push_back({parseTime(time), parseSettings(settings)});
    const std::optional<TimeSpec> length = options.length.empty() ? std::nullopt : std::optional(parseTime(options.length));
    const std::optional<TimeSpec> tail = options.tail.empty() ? std::nullopt : std::optional(parseTime(options.tail));
    if (options.sampleRate && !(*options.sampleRate >= kMinRate && *options.sampleRate <= kMaxRate))
        throw UsageError("sample rate " + numberText(*options.sampleRate) + " Hz is outside 1000..768000");
    OutputFile output(options.output);

    std::unique_ptr<AudioFileReader> input;
    double rate = options.sampleRate.value_or(kDefaultRate);
    if (!options.input.empty()) {
        input = std::make_unique<AudioFileReader>(options.input);
        if (options.sampleRate && *options.sampleRate != input->sampleRate())
            throw UsageError("'" + options.input + "' is " + std::to_string(std::lround(input->sampleRate())) +
                             " Hz and --rate asks for " + std::to_string(std::lround(*options.sampleRate)) +
                             " Hz; the tool does not resample");
        rate = input->sampleRate();
        if (!(rate >= kMinRate && rate <= kMaxRate))
            throw std::runtime_error("'" + options.input + "' has a sample rate outside 1000..768000 Hz");
    }

    MidiSong song;
    if (!options.midi.empty()) song = loadMidiFile(options.midi, rate);

    HostSession session(pluginPath(options), rate, options.blockSize);
    session.configure(options.program, options.settings);

    // The length: as asked, or the input's and the song's end plus the tail.
    std::int64_t frames = 0;
    if (length) {
        frames = length->frameAt(rate);
    } else {
        if (input) frames = input->frames();
        if (!song.events.empty()) frames = std::max(frames, song.events.back().frame);
        const double defaultTail = options.midi.empty() ? 0.0 : kMidiTailSeconds;
        frames += tail ? tail->frameAt(rate) : static_cast<std::int64_t>(std::llround(defaultTail * rate));
    }
    if (frames <= 0) throw UsageError("nothing to render: the length is 0");

    RenderJob job;
    job.source = input.get();
    job.frames = frames;
    job.blockSize = options.blockSize;
    job.events = song.events;
    addChanges(changes, session, frames, job.events);
    sortByFrame(job.events);

    WavWriter writer(output.temporaryPath(), output.target(), rate, format, frames);
    SignalStats stats;
    ProgressBar bar(!options.quiet && ProgressBar::stderrIsTerminal());
    session.switchOn();
    const RenderCounts counts = render(
        session.plugin(), job,
        [&](const float* left, const float* right, int count) {
            writer.write(left, right, count);
            stats.add(left, right, count);
        },
        [&](std::int64_t done, std::int64_t total) {
            stopIfInterrupted();
            bar.update(done, total);
        });
    bar.finish();
    session.switchOff();
    writer.close();
    output.commit();

    if (!options.quiet) {
        std::printf("wrote %s (%s %s, stereo)\n", output.target().c_str(), describe(format).c_str(),
                    needsRf64(frames, format) ? "RF64" : "WAV");
        printSummary(stdout, counts, stats, rate, "  ");
        if (song.skipped > 0) std::printf("  skipped   %d MIDI messages that are not channel messages\n", song.skipped);
    }
    return 0;
}

}  // namespace render
