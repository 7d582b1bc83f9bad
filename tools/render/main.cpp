// orvalune-render: the command-line host. Parses the command line, runs the
// chosen command and turns any failure into one line on stderr and a
// non-zero exit status (2 for a command line it cannot use, 1 otherwise).

#include <cstdio>
#include <exception>
#include <iostream>

#include <CLI/CLI.hpp>

#include "command_line.h"
#include "commands.h"
#include "errors.h"

namespace {

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "orvalune-render: %s\n", message.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    render::CommandLine commandLine;
    try {
        const render::Options options = commandLine.parse(argc, argv);
        switch (options.mode) {
            case render::Options::Mode::Demo: return render::demoCommand(options);
            case render::Options::Mode::Render: return render::renderCommand(options);
            case render::Options::Mode::Info: return render::infoCommand(options);
            case render::Options::Mode::EditorSnapshot: return render::editorSnapshotCommand(options);
        }
        return 1;
    } catch (const CLI::CallForHelp&) {
        std::cout << commandLine.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        return fail(std::string(error.what()) + " (see --help)", 2);
    } catch (const render::UsageError& error) {
        return fail(error.what(), 2);
    } catch (const std::exception& error) {
        return fail(error.what(), 1);
    }
}
