// Small files made by the tests themselves: a temporary directory, WAV files
// through libsndfile and MIDI files through libsmf.
#pragma once

#include <gtest/gtest.h>

#include <glib.h>  // before smf.h, which includes it inside extern "C"
#include <smf.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <filesystem>
#include <string>
#include <vector>

namespace fixtures {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvalune-render-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

    // Names of the files in the directory, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline void writeWav(const std::string& path, int rate, int channels, const std::vector<float>& interleaved,
                     int subformat = SF_FORMAT_FLOAT) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | subformat;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
    sf_close(file);
}

struct WavContents {
    int rate = 0;
    int channels = 0;
    int format = 0;
    std::vector<float> interleaved;
    std::size_t frames() const { return channels ? interleaved.size() / channels : 0; }
};

inline WavContents readWav(const std::string& path) {
    WavContents contents;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        ADD_FAILURE() << "cannot read " << path << ": " << sf_strerror(nullptr);
        return contents;
    }
    contents.rate = info.samplerate;
    contents.channels = info.channels;
    contents.format = info.format;
    contents.interleaved.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, contents.interleaved.data(), info.frames);
    sf_close(file);
    return contents;
}

struct MidiMessage {
    int pulses;  // at 96 pulses per quarter note and 120 beats per minute: 1/192 s each
    int status, data1, data2;
};

// One track, default tempo (120 beats per minute), 96 pulses per quarter note.
inline void writeMidi(const std::string& path, const std::vector<MidiMessage>& messages) {
    smf_t* smf = smf_new();
    ASSERT_EQ(smf_set_ppqn(smf, 96), 0);
    smf_track_t* track = smf_track_new();
    smf_add_track(smf, track);
    for (const MidiMessage& m : messages)
        smf_track_add_event_pulses(track, smf_event_new_from_bytes(m.status, m.data1, m.data2), m.pulses);
    ASSERT_EQ(smf_save(smf, path.c_str()), 0);
    smf_delete(smf);
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline std::string readBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

}  // namespace fixtures
