#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <initializer_list>
#include <string>
#include <vector>

#include "command_line.h"
#include "errors.h"

namespace render {
namespace {

Options parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"orvalune-render"};
    argv.insert(argv.end(), arguments);
    CommandLine commandLine;
    return commandLine.parse(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, ModeFollowsTheOptions) {
    using Mode = Options::Mode;
    struct Case {
        std::vector<const char*> arguments;
        Mode mode;
    } cases[] = {
        {{}, Mode::Demo},
        {{"--plugin", "x.so"}, Mode::Demo},
        {{"--demo"}, Mode::Demo},
        {{"--info"}, Mode::Info},
        {{"--info", "-p", "3", "-s", "vowel=e"}, Mode::Info},
        {{"--editor-snapshot", "e.png", "-s", "vowel=e"}, Mode::EditorSnapshot},
        {{"in.wav", "-o", "out.wav"}, Mode::Render},
        {{"-m", "song.mid", "-o", "out.wav"}, Mode::Render},
        {{"-l", "2s", "-o", "out.wav"}, Mode::Render},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"orvalune-render"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(none)");
        CommandLine commandLine;
        EXPECT_EQ(commandLine.parse(static_cast<int>(argv.size()), argv.data()).mode, c.mode);
    }
}

TEST(CommandLine, RenderOptionsAreCollectedInOrder) {
    const Options o = parse({"--at", "1s", "vowel=e", "in.wav", "-o", "out.wav", "-s", "glide=0.1",
                             "--at", "2000", "volume=0.5,program=3", "-s", "attack=1", "-b", "64", "-r", "48000",
                             "-p", "2", "-f", "24", "-l", "3s", "-t", "250ms", "-m", "song.mid"});
    EXPECT_EQ(o.input, "in.wav");
    EXPECT_EQ(o.output, "out.wav");
    EXPECT_EQ(o.midi, "song.mid");
    ASSERT_EQ(o.changes.size(), 2u);
    EXPECT_EQ(o.changes[0], std::make_pair(std::string("1s"), std::string("vowel=e")));
    EXPECT_EQ(o.changes[1], std::make_pair(std::string("2000"), std::string("volume=0.5,program=3")));
    EXPECT_EQ(o.settings, (std::vector<std::string>{"glide=0.1", "attack=1"}));
    EXPECT_EQ(o.blockSize, 64);
    EXPECT_EQ(o.sampleRate, 48000.0);
    EXPECT_EQ(o.program, 2);
    EXPECT_EQ(o.format, "24");
    EXPECT_EQ(o.length, "3s");
    EXPECT_EQ(o.tail, "250ms");
}

TEST(CommandLine, DemoDirectory) {
    EXPECT_EQ(parse({}).demoDirectory, "out");
    EXPECT_EQ(parse({"--demo"}).demoDirectory, "out");
    EXPECT_EQ(parse({"--demo", "pictures"}).demoDirectory, "pictures");
}

TEST(CommandLine, UnusableCombinationsAreRefused) {
    struct Case {
        std::vector<const char*> arguments;
        const char* message;  // empty: CLI11's own message
    } cases[] = {
        {{"in.wav"}, "no output file"},
        {{"-o", "out.wav"}, "nothing to render"},
        {{"-s", "vowel=e"}, "no output file"},
        {{"--info", "-o", "out.wav"}, "--info renders nothing"},
        {{"--info", "in.wav"}, "--info renders nothing"},
        {{"--editor-snapshot", "e.png", "--at", "1s", "vowel=e"}, "--editor-snapshot renders nothing"},
        {{"--demo", "-o", "out.wav"}, "the demo takes no other options"},
        {{"--info", "--demo"}, "choose one of"},
        {{"--info", "--editor-snapshot", "e.png"}, "choose one of"},
        {{"--at", "1s"}, ""},
        {{"--bogus"}, ""},
        {{"a.wav", "b.wav", "-o", "out.wav"}, ""},
        {{"-b", "0", "-o", "out.wav", "-l", "1s"}, "block size 0 is out of range 1..65536"},
        {{"-b", "65537", "-o", "out.wav", "-l", "1s"}, "block size 65537"},
        {{"-b", "x", "-o", "out.wav", "-l", "1s"}, ""},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"orvalune-render"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(argv[1]);
        CommandLine commandLine;
        try {
            commandLine.parse(static_cast<int>(argv.size()), argv.data());
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
            EXPECT_NE(std::string(c.message), "");
        } catch (const CLI::ParseError& error) {
            EXPECT_EQ(std::string(c.message), "") << error.what();
            EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace render
