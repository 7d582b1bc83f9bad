#include "command_line.h"

#include <CLI/CLI.hpp>

#include "errors.h"

namespace render {

CommandLine::CommandLine()
    : app_(std::make_unique<CLI::App>(
          "orvalune-render: renders audio and MIDI through the Orvalune plug-in, loaded like a host loads it.\n"
          "Without arguments it renders a demo into out/.",
          "orvalune-render")) {
    CLI::App& app = *app_;
    Options& o = options_;
    app.add_option("input", o.input, "Audio file to play through the plug-in (WAV, FLAC, ...; mono or stereo)");
    app.add_option("-m,--midi", o.midi, "Standard MIDI File to play on the plug-in's voice");
    app.add_option("-o,--output", o.output, "WAV file to write");
    app.add_option("-f,--format", o.format, "Output samples: float (default), 16 or 24");
    app.add_option("-r,--rate", o.sampleRate,
                   "Sample rate in Hz without an input file (default 44100); must match the input file's");
    app.add_option("-b,--block-size", o.blockSize, "Largest processing block in frames (default 512)")
        ->check(CLI::Range(1, 65536));
    app.add_option("-p,--program", o.program, "Program to select first (0-7)");
    app.add_option("-s,--set", o.settings, "Parameter values before the render: NAME=VALUE[,NAME=VALUE...]")
        ->allow_extra_args(false);
    app.add_option("-a,--at", o.changes,
                   "Parameter or program change during the render: TIME NAME=VALUE[,...] (TIME: 1.5s, 250ms "
                   "or a sample position; NAME may be 'program')")
        ->allow_extra_args(false);
    app.add_option("-l,--length", o.length, "Length of the render (TIME); default: the input's length plus the tail");
    app.add_option("-t,--tail", o.tail, "Time rendered after the input and the MIDI end (default 0, 1s with MIDI)");
    app.add_option("--plugin", o.pluginPath, "Plug-in binary (default: Orvalune.so next to this program)");
    app.add_flag("-q,--quiet", o.quiet, "Print nothing but errors");
    auto* info = app.add_flag("-i,--info", "Print what a host sees of the plug-in and exit");
    auto* snapshot = app.add_option("--editor-snapshot", o.editorSnapshot,
                                    "Write a PNG picture of the editor with the parameter values set and exit");
    auto* demo = app.add_option("--demo", o.demoDirectory, "Render the built-in demo into DIR (default out)")
                     ->expected(0, 1);
    info->excludes(snapshot)->excludes(demo);
    snapshot->excludes(demo);
}

CommandLine::~CommandLine() = default;

std::string CommandLine::help() const { return app_->help(); }

Options CommandLine::parse(int argc, const char* const* argv) {
    CLI::App& app = *app_;
    app.parse(argc, argv);
    Options o = options_;
    if (o.demoDirectory.empty()) o.demoDirectory = "out";

    const bool renders = !o.input.empty() || !o.midi.empty() || !o.output.empty() || !o.changes.empty() ||
                         !o.length.empty() || !o.tail.empty();
    if (app.count("--info") > 0) o.mode = Options::Mode::Info;
    else if (app.count("--editor-snapshot") > 0) o.mode = Options::Mode::EditorSnapshot;
    else if (app.count("--demo") > 0 || !(renders || o.program || !o.settings.empty())) o.mode = Options::Mode::Demo;
    else o.mode = Options::Mode::Render;

    switch (o.mode) {
        case Options::Mode::Info:
        case Options::Mode::EditorSnapshot:
            if (renders)
                throw UsageError(std::string(o.mode == Options::Mode::Info ? "--info" : "--editor-snapshot") +
                                 " renders nothing: it takes no input, MIDI, output or timed change");
            break;
        case Options::Mode::Demo:
            if (renders || o.program || !o.settings.empty())
                throw UsageError("the demo takes no other options than its directory");
            break;
        case Options::Mode::Render:
            if (o.output.empty()) throw UsageError("no output file: give -o FILE.wav");
            if (o.input.empty() && o.midi.empty() && o.length.empty())
                throw UsageError("nothing to render: give an input audio file, a MIDI file (-m) or a length (-l)");
            break;
    }
    return o;
}

}  // namespace render
