#include "midi_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <glib.h>  // before smf.h, which includes it inside extern "C"
#include <smf.h>

#include "smf_structure.h"
#include "values.h"

namespace render {

namespace {

// libsmf reports problems through GLib's log; while a file loads, its
// messages are collected here instead of being printed.
struct LogCapture {
    LogCapture() { previous = g_log_set_default_handler(&LogCapture::collect, this); }
    ~LogCapture() { g_log_set_default_handler(previous, nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    static void collect(const gchar* /*domain*/, GLogLevelFlags level, const gchar* message, gpointer self) {
        auto* capture = static_cast<LogCapture*>(self);
        if (!message) return;
        const bool serious = (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL)) != 0;
        std::string& slot = serious ? capture->firstError : capture->firstWarning;
        if (slot.empty()) slot = message;
    }

    // The most telling message: the first error, else the first warning.
    std::string reason() const { return !firstError.empty() ? firstError : firstWarning; }

    GLogFunc previous;
    std::string firstError;
    std::string firstWarning;
};

struct SmfDeleter {
    void operator()(smf_t* smf) const { smf_delete(smf); }
};

// "SMF error: something went wrong." -> "something went wrong"
std::string cleaned(std::string message) {
    for (const char* prefix : {"SMF error: ", "SMF warning: "})
        if (message.rfind(prefix, 0) == 0) message.erase(0, std::strlen(prefix));
    while (!message.empty() && (message.back() == '.' || message.back() == '\n')) message.pop_back();
    for (char& c : message)
        if (c == '\n') c = ' ';
    return message;
}

}  // namespace

MidiSong loadMidiFile(const std::string& path, double sampleRate) {
    const std::string what = "cannot read MIDI file '" + path + "': ";
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw std::runtime_error(what + "it is a directory");
    std::vector<unsigned char> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
        const bool failed = std::ferror(file) != 0;
        std::fclose(file);
        if (failed) throw std::runtime_error(what + "read error");
    } else {
        throw std::runtime_error(what + std::strerror(errno));
    }
    // Far beyond any song; keeps the size within libsmf's int.
    if (bytes.size() > 64u * 1024 * 1024) throw std::runtime_error(what + "the file is larger than 64 MB");
    try {
        checkMidiStructure(bytes);
    } catch (const std::runtime_error& problem) {
        throw std::runtime_error(what + problem.what());
    }

    LogCapture log;
    std::unique_ptr<smf_t, SmfDeleter> smf(smf_load_from_memory(bytes.data(), static_cast<int>(bytes.size())));
    if (!smf) throw std::runtime_error(what + (log.reason().empty() ? "not a Standard MIDI File" : cleaned(log.reason())));

    MidiSong song;
    while (smf_event_t* event = smf_get_next_event(smf.get())) {
        if (smf_event_is_metadata(event)) continue;
        const unsigned char* message = event->midi_buffer;
        const int length = event->midi_buffer_length;
        if (!std::isfinite(event->time_seconds) || event->time_seconds < 0.0 || event->time_seconds > kMaxSeconds)
            throw std::runtime_error(what + "an event lies beyond a day");
        // Channel messages only: note, pressure, controller, program, bend.
        if (length < 1 || length > 3 || message[0] < 0x80 || message[0] >= 0xF0) {
            ++song.skipped;
            continue;
        }
        const std::int64_t frame = std::llround(event->time_seconds * sampleRate);
        song.events.push_back(TimedEvent::midiMessage(frame, message[0], length > 1 ? message[1] : 0,
                                                      length > 2 ? message[2] : 0));
        song.seconds = std::max(song.seconds, event->time_seconds);
    }
    // An error while reading the events means some were lost: refuse to play
    // half a song.
    if (!log.firstError.empty()) throw std::runtime_error(what + cleaned(log.firstError));
    sortByFrame(song.events);
    return song;
}

}  // namespace render
