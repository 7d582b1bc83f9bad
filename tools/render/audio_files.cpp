#include "audio_files.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "errors.h"

namespace render {

namespace {

// libsndfile's "System error : No such file or directory." -> "No such file or directory"
std::string reason(SNDFILE* file) {
    std::string text = sf_strerror(file);
    const std::string prefix = "System error : ";
    if (text.rfind(prefix, 0) == 0) text.erase(0, prefix.size());
    while (!text.empty() && (text.back() == '.' || text.back() == '\n')) text.pop_back();
    return text;
}

}  // namespace

AudioFileReader::AudioFileReader(const std::string& path) : path_(path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw std::runtime_error("cannot read audio file '" + path + "': it is a directory");
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (!file_) throw std::runtime_error("cannot read audio file '" + path + "': " + reason(nullptr));
    sampleRate_ = info.samplerate;
    channels_ = info.channels;
    frames_ = info.frames;
    if (channels_ < 1 || channels_ > 2) {
        sf_close(file_);
        file_ = nullptr;
        throw std::runtime_error("audio file '" + path + "' has " + std::to_string(channels_) +
                                 " channels; the plug-in takes mono or stereo");
    }
}

AudioFileReader::~AudioFileReader() {
    if (file_) sf_close(file_);
}

void AudioFileReader::read(float* left, float* right, int frames) {
    interleaved_.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_));
    const sf_count_t got = file_ ? sf_readf_float(file_, interleaved_.data(), frames) : 0;
    for (sf_count_t i = 0; i < got; ++i) {
        left[i] = interleaved_[static_cast<std::size_t>(i * channels_)];
        right[i] = interleaved_[static_cast<std::size_t>(i * channels_ + channels_ - 1)];
    }
    std::fill(left + got, left + frames, 0.0f);
    std::fill(right + got, right + frames, 0.0f);
}

SampleFormat parseSampleFormat(const std::string& text) {
    if (text == "float" || text == "32f" || text == "f32") return SampleFormat::Float32;
    if (text == "16") return SampleFormat::Pcm16;
    if (text == "24") return SampleFormat::Pcm24;
    throw UsageError("unknown sample format '" + text + "': use float, 16 or 24");
}

std::string describe(SampleFormat format) {
    switch (format) {
        case SampleFormat::Float32: return "32-bit float";
        case SampleFormat::Pcm16: return "16-bit";
        case SampleFormat::Pcm24: return "24-bit";
    }
    return "?";
}

bool needsRf64(std::int64_t frames, SampleFormat format) {
    const std::int64_t bytesPerSample = format == SampleFormat::Pcm16 ? 2 : format == SampleFormat::Pcm24 ? 3 : 4;
    const std::int64_t headerRoom = 1024;  // header and chunks around the audio
    return frames * 2 * bytesPerSample > 0xFFFFFFFFLL - headerRoom;
}

WavWriter::WavWriter(const std::string& path, const std::string& name, double sampleRate, SampleFormat format,
                     std::int64_t frames)
    : name_(name) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(std::lround(sampleRate));
    info.channels = 2;
    info.format = (needsRf64(frames, format) ? SF_FORMAT_RF64 : SF_FORMAT_WAV) | (format == SampleFormat::Float32 ? SF_FORMAT_FLOAT
                                   : format == SampleFormat::Pcm16 ? SF_FORMAT_PCM_16
                                                                    : SF_FORMAT_PCM_24);
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file_) throw std::runtime_error("cannot write '" + name_ + "': " + reason(nullptr));
    // Integer formats clip at full scale instead of wrapping around.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

WavWriter::~WavWriter() {
    if (file_) sf_close(file_);
}

void WavWriter::write(const float* left, const float* right, int frames) {
    interleaved_.resize(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        interleaved_[2 * static_cast<std::size_t>(i)] = left[i];
        interleaved_[2 * static_cast<std::size_t>(i) + 1] = right[i];
    }
    if (sf_writef_float(file_, interleaved_.data(), frames) != frames)
        throw std::runtime_error("cannot write '" + name_ + "': " + reason(file_));
}

void WavWriter::close() {
    SNDFILE* file = file_;
    file_ = nullptr;
    if (sf_close(file) != 0) throw std::runtime_error("cannot write '" + name_ + "': " + reason(nullptr));
}

}  // namespace render
