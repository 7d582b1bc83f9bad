#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "audio_files.h"
#include "fixtures.h"
#include "midi_file.h"
#include "output_file.h"
#include "smf_structure.h"
#include "spectrogram.h"

namespace render {
namespace {

TEST(AudioFiles, FloatWavRoundTripIsExact) {
    fixtures::TempDir dir;
    const std::vector<float> left{0.0f, 0.5f, -1.0f, 1.5f, 1e-30f, -0.123456789f};
    const std::vector<float> right{1.0f, -0.5f, 0.25f, -2.0f, 3e-8f, 0.987654321f};
    {
        WavWriter writer(dir / "a.wav", "a.wav", 48000.0, SampleFormat::Float32, 6);
        writer.write(left.data(), right.data(), 2);  // two blocks
        writer.write(left.data() + 2, right.data() + 2, 4);
        writer.close();
    }
    AudioFileReader reader(dir / "a.wav");
    EXPECT_EQ(reader.sampleRate(), 48000.0);
    EXPECT_EQ(reader.channels(), 2);
    ASSERT_EQ(reader.frames(), 6);
    std::vector<float> l(8, 9.0f), r(8, 9.0f);
    reader.read(l.data(), r.data(), 8);  // two frames past the end read as silence
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(l[i], left[i]) << i;
        EXPECT_EQ(r[i], right[i]) << i;
    }
    EXPECT_EQ(l[6], 0.0f);
    EXPECT_EQ(r[7], 0.0f);
}

TEST(AudioFiles, IntegerWavClipsInsteadOfWrapping) {
    fixtures::TempDir dir;
    const std::vector<float> left{0.5f, 1.5f, -1.5f}, right{-0.25f, 1.0f, -1.0f};
    for (SampleFormat format : {SampleFormat::Pcm16, SampleFormat::Pcm24}) {
        WavWriter writer(dir / "a.wav", "a.wav", 44100.0, format, 3);
        writer.write(left.data(), right.data(), 3);
        writer.close();
        const fixtures::WavContents wav = fixtures::readWav(dir / "a.wav");
        EXPECT_EQ(wav.format & SF_FORMAT_SUBMASK, format == SampleFormat::Pcm16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
        ASSERT_EQ(wav.frames(), 3u);
        EXPECT_NEAR(wav.interleaved[0], 0.5f, 1e-4);
        EXPECT_NEAR(wav.interleaved[1], -0.25f, 1e-4);
        EXPECT_GT(wav.interleaved[2], 0.99f);   // 1.5 clipped, not wrapped to negative
        EXPECT_LT(wav.interleaved[4], -0.99f);  // -1.5 clipped
    }
}

TEST(AudioFiles, OutputsPast4GiBUseRf64) {
    // Stereo frames that fit a WAV file's 32-bit sizes, with room for the header.
    const std::int64_t floatLimit = (0xFFFFFFFFLL - 1024) / 8;
    const std::int64_t pcm16Limit = (0xFFFFFFFFLL - 1024) / 4;
    EXPECT_FALSE(needsRf64(floatLimit, SampleFormat::Float32));
    EXPECT_TRUE(needsRf64(floatLimit + 1, SampleFormat::Float32));
    EXPECT_FALSE(needsRf64(pcm16Limit, SampleFormat::Pcm16));
    EXPECT_TRUE(needsRf64(pcm16Limit + 1, SampleFormat::Pcm16));
    EXPECT_TRUE(needsRf64(pcm16Limit, SampleFormat::Pcm24));
    EXPECT_FALSE(needsRf64(44100LL * 3600, SampleFormat::Float32));  // an hour at 44.1 kHz is a plain WAV
}

TEST(AudioFiles, MonoInputPlaysOnBothChannels) {
    fixtures::TempDir dir;
    fixtures::writeWav(dir / "mono.wav", 22050, 1, {0.1f, 0.2f, 0.3f});
    AudioFileReader reader(dir / "mono.wav");
    float l[3], r[3];
    reader.read(l, r, 3);
    EXPECT_EQ(l[2], 0.3f);
    EXPECT_EQ(r[2], 0.3f);
    EXPECT_EQ(reader.sampleRate(), 22050.0);
}

TEST(AudioFiles, UnusableInputsNameTheFileAndTheProblem) {
    fixtures::TempDir dir;
    fixtures::writeWav(dir / "three.wav", 44100, 3, std::vector<float>(30, 0.0f));
    fixtures::writeBytes(dir / "text.wav", "this is not audio\n");
    struct Case {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir / "missing.wav", "No such file"},
        {dir / "text.wav", "text.wav"},
        {dir / "three.wav", "3 channels"},
        {dir.path().string(), "directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            AudioFileReader reader(c.path);
            ADD_FAILURE() << "opened";
        } catch (const std::runtime_error& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.path), std::string::npos) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }
}

TEST(OutputFiles, AppearOnlyWhenCommitted) {
    fixtures::TempDir dir;
    fixtures::writeBytes(dir / "keep.wav", "old");
    {
        OutputFile output(dir / "keep.wav");
        EXPECT_EQ(output.temporaryPath().find(dir.path().string()), 0u);  // same directory: rename stays atomic
        fixtures::writeBytes(output.temporaryPath(), "new, but failed half-way");
        // leaves without commit, as when an error unwinds
    }
    EXPECT_EQ(dir.files(), std::vector<std::string>{"keep.wav"});
    EXPECT_EQ(fixtures::readBytes(dir / "keep.wav"), "old");
    {
        OutputFile output(dir / "keep.wav");
        fixtures::writeBytes(output.temporaryPath(), "new");
        output.commit();
    }
    EXPECT_EQ(dir.files(), std::vector<std::string>{"keep.wav"});
    EXPECT_EQ(fixtures::readBytes(dir / "keep.wav"), "new");
}

TEST(OutputFiles, UnwritableTargetsAreRefusedUpFront) {
    fixtures::TempDir dir;
    EXPECT_THROW(OutputFile(dir / "no/such/dir/out.wav"), std::runtime_error);
    EXPECT_THROW(OutputFile(dir.path().string()), std::runtime_error);
    EXPECT_TRUE(dir.files().empty());
}

TEST(MidiFiles, TimesBecomeSamplePositionsInTimeOrder) {
    fixtures::TempDir dir;
    // At 120 beats per minute and 96 pulses per quarter note a pulse is
    // 1/192 s: 250 frames at 48000 Hz.
    fixtures::writeMidi(dir / "song.mid", {{0, 0x90, 60, 100}, {7, 0x91, 64, 90}, {7, 0xB0, 126, 0},
                                          {20, 0x80, 60, 0}, {40, 0xE0, 0, 64}});
    const MidiSong song = loadMidiFile(dir / "song.mid", 48000.0);
    ASSERT_EQ(song.events.size(), 5u);
    const std::int64_t frames[] = {0, 1750, 1750, 5000, 10000};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(song.events[i].frame, frames[i]) << i;
    EXPECT_EQ(song.events[1].midi, (std::array<unsigned char, 3>{0x91, 64, 90}));
    EXPECT_EQ(song.events[2].midi[1], 126);
    EXPECT_DOUBLE_EQ(song.seconds, 40.0 / 192.0);
}

TEST(MidiFiles, BrokenFilesAreRefusedWithOneLine) {
    fixtures::TempDir dir;
    fixtures::writeMidi(dir / "good.mid", {{0, 0x90, 60, 100}, {96, 0x80, 60, 0}, {192, 0x90, 62, 100}});
    const std::string good = fixtures::readBytes(dir / "good.mid");
    fixtures::writeBytes(dir / "truncated.mid", good.substr(0, good.size() - 6));
    fixtures::writeBytes(dir / "header-only.mid", good.substr(0, 14));
    fixtures::writeBytes(dir / "empty.mid", "");
    fixtures::writeBytes(dir / "text.mid", "MThd but not really a MIDI file at all");
    for (const char* name : {"truncated.mid", "header-only.mid", "empty.mid", "text.mid", "missing.mid"}) {
        SCOPED_TRACE(name);
        try {
            loadMidiFile(dir / name, 44100.0);
            ADD_FAILURE() << "loaded";
        } catch (const std::runtime_error& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(name), std::string::npos) << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }
}

// Files that libsmf would read past the end of, or misread, are refused
// before it sees them.
TEST(MidiFiles, StructureIsCheckedBeforeParsing) {
    using Bytes = std::vector<unsigned char>;
    const Bytes header{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    auto file = [&](const Bytes& track, Bytes head = {}) {
        Bytes bytes = head.empty() ? header : head;
        const std::size_t n = track.size();
        bytes.insert(bytes.end(), {'M', 'T', 'r', 'k', 0, 0, static_cast<unsigned char>(n >> 8),
                                   static_cast<unsigned char>(n & 0xFF)});
        bytes.insert(bytes.end(), track.begin(), track.end());
        return bytes;
    };
    const Bytes end{0, 0xFF, 0x2F, 0};
    auto withoutLastByte = [](Bytes bytes) {
        bytes.pop_back();
        return bytes;
    };
    auto with = [&](Bytes events) {
        events.insert(events.end(), end.begin(), end.end());
        return events;
    };

    // Running status, a system-exclusive message, a tempo and a program change are fine.
    checkMidiStructure(file(with({0, 0x90, 60, 100, 10, 62, 100, 0, 0xF0, 2, 1, 0xF7, 0, 0xFF, 0x51, 3, 7, 0xA1, 0x20,
                                  5, 0xC0, 3})));

    struct Case {
        const char* name;
        Bytes bytes;
        const char* reason;
    } const cases[] = {
        {"no end-of-track", file({0, 0x90, 60, 100}), "track 1 does not end with an end-of-track event"},
        {"data after end-of-track", file({0, 0xFF, 0x2F, 0, 0, 0x90, 60, 100}), "data after its end-of-track"},
        {"message cut short", file({0, 0x90, 60}), "track 1 is truncated"},
        {"missing data byte", file(with({0, 0x90, 60, 0x80})), "missing data byte"},
        {"data before any status", file(with({0, 60, 100})), "without a status byte"},
        {"meta length past the end", file({0, 0xFF, 0x01, 50, 'x'}), "track 1 is truncated"},
        {"sysex length past the end", file({0, 0xF0, 0x81, 0x00, 1, 2}), "track 1 is truncated"},
        {"endless number", file(with({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100})), "longer than four bytes"},
        {"system message in a file", file(with({0, 0xF8})), "system message"},
        {"chunk longer than the file", withoutLastByte(file(end)), "a chunk is truncated"},
        {"too few tracks", file(end, {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 96}), "declares 2 tracks but"},
        {"no tracks", file(end, {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 0, 0, 96}), "declares no track"},
        {"header length", file(end, {'M', 'T', 'h', 'd', 0, 0, 0, 7, 0, 1, 0, 1, 0, 96}), "wrong length"},
        {"not MIDI", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 0, 0}, "not a Standard MIDI File"},
        {"empty", Bytes{}, "not a Standard MIDI File"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            checkMidiStructure(c.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

TEST(Spectrogram, ASinePeaksAtItsRowAndFrameCountSetsTheWidth) {
    const double rate = 44100.0;
    std::vector<float> sine(static_cast<std::size_t>(rate));  // one second of 2 kHz
    for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * 2000.0 * i / rate));
    SpectrogramShape shape;
    RgbImage image = spectrogramImage(sine, rate, shape);
    EXPECT_EQ(image.width, static_cast<int>((sine.size() + shape.hop - 1) / shape.hop));
    EXPECT_EQ(image.height, shape.height);
    // In a middle column, the brightest row is the one for 2 kHz.
    const int x = image.width / 2;
    int brightest = 0, best = -1;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* rgb = image.at(x, y);
        const int sum = rgb[0] + rgb[1] + rgb[2];
        if (sum > best) best = sum, brightest = y;
    }
    const double frequency = shape.topFrequency * (shape.height - 1 - brightest) / (shape.height - 1);
    EXPECT_NEAR(frequency, 2000.0, shape.topFrequency / shape.height + rate / shape.fftSize);
    // Far from the tone the picture is dark.
    const std::uint8_t* far = image.at(x, image.height / 8);
    EXPECT_LT(far[0] + far[1] + far[2], 60);
}

}  // namespace
}  // namespace render
