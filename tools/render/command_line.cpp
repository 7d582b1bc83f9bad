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
    app.footer(
        "\nExamples:\n"
        "  orvalune-render                                       the demo: WAV files and spectrograms in out/\n"
        "  orvalune-render --info                                identity, parameters and programs\n"
        "  orvalune-render voice.wav -o vowels.wav -s vowel=e,drywet=0.2\n"
        "  orvalune-render voice.wav -o morph.wav -s morph=0.1 --at 1.5s vowel=o --at 3s vowel=u\n"
        "  orvalune-render -m song.mid -o song.wav -s waveform=square,glide=0.05 --at 96000 program=2\n"
        "\nParameters: waveform, release, glide, morph, attack, vowel, drywet, volume (or 0-7, or a unique\n"
        "prefix); values 0-1, vowel also a/e/i/o/u, waveform also saw/square/noise.\n"
        "TIME: seconds (1.5s), milliseconds (250ms) or a sample position (66150).");
    app.add_option("input", o.input, "Audio file to play through the plug-in (WAV, FLAC, ...; mono or stereo)")
        ->type_name("FILE");
    app.add_option("-m,--midi", o.midi, "Standard MIDI File to play on the plug-in's voice")->type_name("FILE");
    app.add_option("-o,--output", o.output, "WAV file to write")->type_name("FILE");
    app.add_option("-f,--format", o.format, "Output samples: float (default), 16 or 24")->type_name("FORMAT");
    app.add_option("-r,--rate", o.sampleRate,
                   "Sample rate in Hz without an input file (default 44100); must match the input file's")
        ->type_name("HZ");
    app.add_option("-b,--block-size", o.blockSize, "Largest processing block in frames, 1-65536 (default 512)")
        ->type_name("FRAMES");
    app.add_option("-p,--program", o.program, "Program to select before the settings (0-7)")->type_name("N");
    app.add_option("-s,--set", o.settings, "Parameter values before the render: NAME=VALUE[,NAME=VALUE...]")
        ->type_name("SETTINGS")
        ->allow_extra_args(false);
    app.add_option("-a,--at", o.changes,
                   "Parameter or program change during the render: TIME NAME=VALUE[,...] (TIME: 1.5s, 250ms "
                   "or a sample position; NAME may be 'program')")
        ->type_name("TIME SETTINGS")
        ->allow_extra_args(false);
    app.add_option("-l,--length", o.length, "Length of the render; default: the input's and MIDI's length plus the tail")
        ->type_name("TIME");
    app.add_option("-t,--tail", o.tail, "Time rendered after the input and the MIDI end (default 0, 1s with MIDI)")
        ->type_name("TIME");
    app.add_option("--plugin", o.pluginPath, "Plug-in binary (default: Orvalune.so next to this program)")
        ->type_name("FILE");
    app.add_flag("-q,--quiet", o.quiet, "Print nothing but errors");
    app.add_flag("-i,--info", "Print what a host sees of the plug-in and exit");
    app.add_option("--editor-snapshot", o.editorSnapshot,
                                    "Write a PNG picture of the editor with the parameter values set and exit")
                         ->type_name("FILE");
    app.add_option("--demo", o.demoDirectory, "Render the built-in demo into DIR (default out)")
                     ->type_name("[DIR]")
                     ->expected(0, 1);
}

CommandLine::~CommandLine() = default;

std::string CommandLine::help() const { return app_->help(); }

Options CommandLine::parse(int argc, const char* const* argv) {
    CLI::App& app = *app_;
    app.parse(argc, argv);
    Options o = options_;
    if (o.demoDirectory.empty()) o.demoDirectory = "out";
    if (app.count("--info") + app.count("--editor-snapshot") + app.count("--demo") > 1)
        throw UsageError("choose one of --info, --editor-snapshot and --demo");
    if (o.blockSize < 1 || o.blockSize > 65536)
        throw UsageError("block size " + std::to_string(o.blockSize) + " is out of range 1..65536");

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
