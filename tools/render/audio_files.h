// Audio files through libsndfile: the input read as a stream of stereo frames
// (any format libsndfile reads; mono is played on both channels), and the
// output written as a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sndfile.h>

#include "renderer.h"

namespace render {

class AudioFileReader : public AudioSource {
public:
    // Throws std::runtime_error for a missing, unreadable or unknown file and
    // for more than two channels.
    explicit AudioFileReader(const std::string& path);
    ~AudioFileReader() override;
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    double sampleRate() const noexcept { return sampleRate_; }
    int channels() const noexcept { return channels_; }
    std::int64_t frames() const noexcept { return frames_; }

    // The next frames; silence once the file is exhausted.
    void read(float* left, float* right, int frames) override;

private:
    std::string path_;
    SNDFILE* file_ = nullptr;
    double sampleRate_ = 0.0;
    int channels_ = 0;
    std::int64_t frames_ = 0;
    std::vector<float> interleaved_;
};

enum class SampleFormat { Float32, Pcm16, Pcm24 };

// "float", "16" or "24"; throws UsageError otherwise.
SampleFormat parseSampleFormat(const std::string& text);
std::string describe(SampleFormat format);

// A WAV file's sizes are 32-bit: stereo audio that would pass 4 GiB goes
// into the 64-bit variant of the format, RF64, instead of a corrupt WAV.
bool needsRf64(std::int64_t frames, SampleFormat format);

class WavWriter {
public:
    // Writes `frames` stereo frames (as WAV, or RF64 when needed) to `path`;
    // messages name the file as `name`. Throws std::runtime_error when the
    // file cannot be created.
    WavWriter(const std::string& path, const std::string& name, double sampleRate, SampleFormat format,
              std::int64_t frames);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Throws std::runtime_error when the data cannot be written (disk full).
    void write(const float* left, const float* right, int frames);
    // Finishes the header; throws std::runtime_error.
    void close();

private:
    std::string name_;
    SNDFILE* file_ = nullptr;
    std::vector<float> interleaved_;
};

}  // namespace render
