// The command line of orvalune-render, parsed with CLI11 into Options.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace render {

struct Options {
    enum class Mode { Demo, Render, Info, EditorSnapshot };
    Mode mode = Mode::Demo;

    std::string pluginPath;     // empty: the plug-in next to the program
    std::string input;          // audio file; empty: silence
    std::string midi;           // Standard MIDI File; empty: none
    std::string output;         // WAV file to write
    std::string format = "float";
    std::optional<double> sampleRate;
    int blockSize = 512;
    std::optional<int> program;
    std::vector<std::string> settings;                         // --set NAME=VALUE[,...]
    std::vector<std::pair<std::string, std::string>> changes;  // --at TIME NAME=VALUE[,...]
    std::string length;                                        // TIME; empty: from the input
    std::string tail;                                          // TIME; empty: the default
    std::string editorSnapshot;                                // PNG file
    std::string demoDirectory = "out";
    bool quiet = false;
};

class CommandLine {
public:
    CommandLine();
    ~CommandLine();

    // Throws CLI::CallForHelp for --help, CLI::ParseError (one-line message)
    // and UsageError for options that do not go together.
    Options parse(int argc, const char* const* argv);
    std::string help() const;

private:
    std::unique_ptr<CLI::App> app_;
    Options options_;
};

}  // namespace render
