// orvalune-render run as a user runs it, in a temporary directory with small
// fixture files made by the test.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "fixtures.h"

extern char** environ;

namespace {

struct Result {
    int status = -1;  // exit status; 128 + signal when killed
    std::string out;
    std::string err;
};

class Tool {
public:
    // Starts orvalune-render in `directory` with its output going to files there.
    Tool(const std::vector<std::string>& arguments, const fixtures::TempDir& directory)
        : outPath_(std::filesystem::temp_directory_path() / ("orvalune-render-out-" + std::to_string(getpid()))),
          errPath_(outPath_.string() + ".err") {
        std::vector<std::string> words{ORVALUNE_RENDER_PROGRAM};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addchdir_np(&actions, directory.path().c_str());
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }

    void signal(int number) { kill(pid_, number); }

    Result wait() {
        Result result;
        int status = 0;
        if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_)
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = fixtures::readBytes(outPath_.string());
        result.err = fixtures::readBytes(errPath_);
        std::remove(outPath_.c_str());
        std::remove(errPath_.c_str());
        return result;
    }

private:
    std::filesystem::path outPath_;
    std::string errPath_;
    pid_t pid_ = -1;
};

Result run(const std::vector<std::string>& arguments, const fixtures::TempDir& directory) {
    return Tool(arguments, directory).wait();
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The one line a failure prints.
::testing::AssertionResult isOneErrorLine(const Result& result, const std::string& part) {
    const std::string& err = result.err;
    if (result.status == 0) return ::testing::AssertionFailure() << "exit status 0";
    if (err.rfind("orvalune-render: ", 0) != 0 || err.empty() || err.back() != '\n' ||
        std::count(err.begin(), err.end(), '\n') != 1)
        return ::testing::AssertionFailure() << "not one error line: '" << err << "'";
    if (!contains(err, part)) return ::testing::AssertionFailure() << "'" << err << "' does not mention '" << part << "'";
    if (!result.out.empty()) return ::testing::AssertionFailure() << "printed to stdout: " << result.out;
    return ::testing::AssertionSuccess();
}

// Interleaved stereo: left constant, right constant.
std::vector<float> constantStereo(std::size_t frames, float left, float right) {
    std::vector<float> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) samples[2 * i] = left, samples[2 * i + 1] = right;
    return samples;
}

// What the plug-in makes of an input sample with dry/wet at 1: the sample
// times the output gain (1 - volume) x 1.5, rounded once.
float dryOutput(float input, float volume) {
    const double gain = (1.0 - static_cast<double>(volume)) * 1.5;
    return static_cast<float>(gain * input);
}

TEST(Program, FailuresPrintOneLineExitNonZeroAndLeaveNoFile) {
    fixtures::TempDir dir;
    fixtures::writeWav(dir / "in.wav", 44100, 2, constantStereo(4410, 0.1f, 0.2f));
    fixtures::writeWav(dir / "three.wav", 44100, 3, std::vector<float>(300, 0.0f));
    fixtures::writeBytes(dir / "text.wav", "not audio at all\n");
    fixtures::writeMidi(dir / "song.mid", {{0, 0x90, 60, 100}, {96, 0x80, 60, 0}});
    const std::string song = fixtures::readBytes(dir / "song.mid");
    fixtures::writeBytes(dir / "broken.mid", song.substr(0, song.size() - 5));
    const std::vector<std::string> fixtureFiles = dir.files();

    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    } const cases[] = {
        {{"missing.wav", "-o", "out.wav"}, 1, "cannot read audio file 'missing.wav': No such file or directory"},
        {{"text.wav", "-o", "out.wav"}, 1, "cannot read audio file 'text.wav'"},
        {{"three.wav", "-o", "out.wav"}, 1, "3 channels"},
        {{"-m", "missing.mid", "-o", "out.wav"}, 1, "cannot read MIDI file 'missing.mid'"},
        {{"-m", "broken.mid", "-o", "out.wav"}, 1, "cannot read MIDI file 'broken.mid'"},
        {{"-m", "in.wav", "-o", "out.wav"}, 1, "cannot read MIDI file 'in.wav'"},
        {{"in.wav", "-o", "out.wav", "-s", "vowl=0.2"}, 2, "unknown parameter 'vowl'"},
        {{"in.wav", "-o", "out.wav", "-s", "v=0.2"}, 2, "ambiguous parameter 'v'"},
        {{"in.wav", "-o", "out.wav", "-s", "vowel=1.5"}, 2, "value 1.5 for vowel is out of range 0..1"},
        {{"in.wav", "-o", "out.wav", "-s", "volume=loud"}, 2, "bad value 'loud' for volume"},
        {{"in.wav", "-o", "out.wav", "-s", "9=0.5"}, 2, "parameter index 9 is out of range"},
        {{"in.wav", "-o", "out.wav", "-s", "vowel"}, 2, "bad setting 'vowel'"},
        {{"in.wav", "-o", "out.wav", "--at", "1.5x", "vowel=0.2"}, 2, "bad time '1.5x'"},
        {{"in.wav", "-o", "out.wav", "--at", "-1s", "vowel=0.2"}, 2, "bad time '-1s'"},
        {{"in.wav", "-o", "out.wav", "--at", "1s", "vowel=0.2"}, 2, "change at 1s lies past the end"},
        {{"in.wav", "-o", "out.wav", "--at", "10", "program=9"}, 2, "program '9' is out of range"},
        {{"in.wav", "-o", "out.wav", "-p", "8"}, 2, "program 8 is out of range 0..7"},
        {{"in.wav", "-o", "out.wav", "-r", "48000"}, 2, "does not resample"},
        {{"in.wav", "-o", "out.wav", "-f", "8"}, 2, "unknown sample format '8'"},
        {{"in.wav", "-o", "out.wav", "-l", "0"}, 2, "the length is 0"},
        {{"-l", "1s", "-r", "10", "-o", "out.wav"}, 2, "sample rate"},
        {{"in.wav", "-o", "nodir/out.wav"}, 1, "cannot write 'nodir/out.wav': directory 'nodir' does not exist"},
        {{"in.wav", "-o", "."}, 1, "cannot write '.': it is a directory"},
        {{"in.wav", "-o", "out.wav", "--plugin", "missing.so"}, 1, "missing.so"},
        {{"in.wav", "-o", "out.wav", "--plugin", "in.wav"}, 1, "in.wav"},
        {{"in.wav"}, 2, "no output file"},
        {{"--bogus"}, 2, "--bogus"},
        {{"--info", "-s", "vowel=x"}, 2, "bad value 'x' for vowel"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& word : c.arguments) line += word + " ";
        SCOPED_TRACE(line);
        const Result result = run(c.arguments, dir);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(isOneErrorLine(result, c.message));
        EXPECT_EQ(dir.files(), fixtureFiles);
    }
}

TEST(Program, InterruptedRenderLeavesNoFile) {
    fixtures::TempDir dir;
    Tool tool({"-l", "3600s", "-f", "16", "-o", "long.wav"}, dir);
    // Wait until the render is under way: its temporary file exists.
    for (int i = 0; i < 200 && dir.files().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    tool.signal(SIGINT);
    const Result result = tool.wait();
    EXPECT_TRUE(isOneErrorLine(result, "interrupted"));
    EXPECT_TRUE(dir.files().empty());
}

TEST(Program, RenderKeepsTheInputsRateAndLengthAndPrintsASummary) {
    fixtures::TempDir dir;
    fixtures::writeWav(dir / "in.wav", 48000, 2, constantStereo(1000, 0.25f, -0.5f));
    fixtures::writeWav(dir / "mono.wav", 22050, 1, std::vector<float>(500, 0.25f));
    struct Case {
        std::vector<std::string> arguments;
        int rate;
        std::size_t frames;
        int subformat;
    } const cases[] = {
        {{"in.wav", "-o", "out.wav"}, 48000, 1000, SF_FORMAT_FLOAT},
        {{"in.wav", "-o", "out.wav", "-f", "16", "-t", "100"}, 48000, 1100, SF_FORMAT_PCM_16},
        {{"in.wav", "-o", "out.wav", "-f", "24", "-l", "10ms"}, 48000, 480, SF_FORMAT_PCM_24},
        {{"mono.wav", "-o", "out.wav", "-t", "0.1s"}, 22050, 2705, SF_FORMAT_FLOAT},
        {{"-l", "0.5s", "-r", "32000", "-o", "out.wav"}, 32000, 16000, SF_FORMAT_FLOAT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + c.arguments.back());
        const Result result = run(c.arguments, dir);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        for (const char* part : {"wrote out.wav", "duration", "peak", "RMS", "real time"})
            EXPECT_TRUE(contains(result.out, part)) << result.out;
        const fixtures::WavContents wav = fixtures::readWav(dir / "out.wav");
        EXPECT_EQ(wav.rate, c.rate);
        EXPECT_EQ(wav.channels, 2);
        EXPECT_EQ(wav.frames(), c.frames);
        EXPECT_EQ(wav.format, SF_FORMAT_WAV | c.subformat);
    }
    // Nothing but the inputs and the output: no temporary file left over.
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"in.wav", "mono.wav", "out.wav"}));
}

TEST(Program, DryPathCarriesEachChannelThrough) {
    fixtures::TempDir dir;
    std::vector<float> input(2 * 600);
    for (std::size_t i = 0; i < 600; ++i) {
        input[2 * i] = static_cast<float>(i) / 1000.0f;
        input[2 * i + 1] = -static_cast<float>(i) / 2000.0f;
    }
    fixtures::writeWav(dir / "in.wav", 44100, 2, input);
    const Result result = run({"in.wav", "-o", "out.wav", "-s", "drywet=1,volume=0.2", "-b", "128"}, dir);
    ASSERT_EQ(result.status, 0) << result.err;
    const fixtures::WavContents wav = fixtures::readWav(dir / "out.wav");
    ASSERT_EQ(wav.interleaved.size(), input.size());
    for (std::size_t i = 0; i < input.size(); ++i)
        ASSERT_EQ(wav.interleaved[i], dryOutput(input[i], 0.2f)) << "sample " << i / 2 << " channel " << i % 2;
}

TEST(Program, TimedChangesLandOnTheirSample) {
    fixtures::TempDir dir;
    fixtures::writeWav(dir / "in.wav", 48000, 2, constantStereo(30000, 0.25f, 0.25f));
    const Result result = run({"in.wav", "-o", "out.wav", "-s", "drywet=1", "--at", "1000", "volume=0.5",
                               "--at", "0.5s", "volume=0", "-b", "4096"},
                              dir);
    ASSERT_EQ(result.status, 0) << result.err;
    const fixtures::WavContents wav = fixtures::readWav(dir / "out.wav");
    ASSERT_EQ(wav.frames(), 30000u);
    const float start = dryOutput(0.25f, 1.0f / 3.0f);  // the default volume
    struct Span {
        std::size_t from, to;
        float value;
    } const spans[] = {{0, 1000, start}, {1000, 24000, dryOutput(0.25f, 0.5f)}, {24000, 30000, dryOutput(0.25f, 0.0f)}};
    for (const Span& span : spans)
        for (std::size_t i = span.from; i < span.to; ++i) {
            ASSERT_EQ(wav.interleaved[2 * i], span.value) << "frame " << i;
            ASSERT_EQ(wav.interleaved[2 * i + 1], span.value) << "frame " << i;
        }
}

TEST(Program, NoteOnChangesTheOutputFromItsSampleOnWhateverTheBlockSize) {
    fixtures::TempDir dir;
    fixtures::writeWav(dir / "in.wav", 48000, 2, constantStereo(4000, 0.25f, 0.25f));
    // Pulse 7 at 120 beats per minute and 96 pulses per quarter: 7/192 s, frame 1750 at 48 kHz.
    fixtures::writeMidi(dir / "note.mid", {{7, 0x90, 69, 100}, {14, 0x80, 69, 0}});
    std::vector<std::vector<float>> outputs;
    for (const char* blockSize : {"4096", "512", "100", "1"}) {
        SCOPED_TRACE(blockSize);
        const Result result = run({"in.wav", "-m", "note.mid", "-o", "out.wav", "-s", "drywet=1", "-b", blockSize,
                                   "-l", "4000"},
                                  dir);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(contains(result.out, "2 MIDI events")) << result.out;
        const fixtures::WavContents wav = fixtures::readWav(dir / "out.wav");
        ASSERT_EQ(wav.frames(), 4000u);
        const float dry = dryOutput(0.25f, 1.0f / 3.0f);
        for (std::size_t i = 0; i < 1750; ++i) ASSERT_EQ(wav.interleaved[2 * i], dry) << "frame " << i;
        // From the note on, the voice replaces the input on both channels.
        for (std::size_t i = 1750; i < 1760; ++i) {
            EXPECT_NE(wav.interleaved[2 * i], dry) << "frame " << i;
            EXPECT_EQ(wav.interleaved[2 * i], wav.interleaved[2 * i + 1]) << "frame " << i;
        }
        outputs.push_back(wav.interleaved);
    }
    for (std::size_t i = 1; i < outputs.size(); ++i) EXPECT_EQ(outputs[i], outputs[0]) << "block size run " << i;
}

TEST(Program, InfoShowsWhatAHostSees) {
    fixtures::TempDir dir;
    const Result result = run({"--info"}, dir);
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* part : {"effect name   Kessaron", "vendor        Mirtlegg", "product       Kessaron",
                             "version       vendor 1", "unique ID     QRKX", "inputs        2", "outputs       2",
                             "\"QRKX 1\"", "canReplacing", "receiveVstEvents yes", "parameters (8)",
                             "waveform", "release time", "glide", "morph time", "attack time", "vowel", "dry/wet",
                             "volume", "0.33", "programs (8, current 0)", "Init Preset 01", "Init Preset 08"})
        EXPECT_TRUE(contains(result.out, part)) << part << "\n" << result.out;
    EXPECT_TRUE(dir.files().empty());

    // Options are applied first: program 2 with the vowel e.
    const Result set = run({"--info", "-p", "2", "-s", "vowel=e"}, dir);
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_TRUE(contains(set.out, "programs (8, current 2)")) << set.out;
    EXPECT_TRUE(contains(set.out, "vowel          0.100000  0.10")) << set.out;
}

TEST(Program, EditorSnapshotWritesAPictureOrFailsCleanly) {
    fixtures::TempDir dir;
    const Result result = run({"--editor-snapshot", "editor.png", "-s", "vowel=e"}, dir);
    if (result.status == 0) {
        EXPECT_EQ(dir.files(), std::vector<std::string>{"editor.png"});
        EXPECT_EQ(fixtures::readBytes(dir / "editor.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
    } else {
        EXPECT_TRUE(isOneErrorLine(result, "editor"));
        EXPECT_TRUE(dir.files().empty());
    }
}

TEST(Program, DemoWritesSoundsAndPicturesIntoOut) {
    fixtures::TempDir dir;
    const Result result = run({}, dir);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(contains(result.out, "wall time")) << result.out;
    EXPECT_EQ(dir.files(), std::vector<std::string>{"out"});
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "out"))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"effect-source.png", "effect-source.wav", "effect-vowels.png",
                                               "effect-vowels.wav", "synth-melody.png", "synth-melody.wav"}));
    for (const char* name : {"effect-source.png", "effect-vowels.png", "synth-melody.png"})
        EXPECT_EQ(fixtures::readBytes(dir / ("out/" + std::string(name))).substr(0, 8), "\x89PNG\r\n\x1a\n") << name;
    for (const char* name : {"effect-vowels.wav", "synth-melody.wav"}) {
        SCOPED_TRACE(name);
        const fixtures::WavContents wav = fixtures::readWav(dir / ("out/" + std::string(name)));
        EXPECT_EQ(wav.rate, 44100);
        float peak = 0.0f;
        for (float sample : wav.interleaved) peak = std::max(peak, std::fabs(sample));
        EXPECT_GT(peak, 0.05f) << "audible";
        EXPECT_LE(peak, 1.0f);
    }
}

}  // namespace
