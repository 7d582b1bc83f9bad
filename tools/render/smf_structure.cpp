#include "smf_structure.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace render {

namespace {

std::uint32_t bigEndian(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
    return value;
}

// Walks the events of one track chunk, which must end with the
// end-of-track event (libsmf reads on past a track that lacks it).
class TrackReader {
public:
    static constexpr unsigned char kEndOfTrack = 0x2F;

    TrackReader(const unsigned char* begin, const unsigned char* end, int track)
        : at_(begin), end_(end), track_(track) {}

    void check() {
        unsigned char running = 0;
        while (at_ < end_) {
            variableLength();  // delta time
            unsigned char status = byte();
            if (status < 0x80) {
                if (!running) fail("has data without a status byte");
                status = running;
                --at_;  // the byte was the first data byte
            } else if (status < 0xF0) {
                running = status;
            }
            if (status == 0xFF) {
                const unsigned char type = byte();
                skip(variableLength());
                if (type == kEndOfTrack) {
                    if (at_ != end_) fail("has data after its end-of-track event");
                    return;
                }
            } else if (status == 0xF0 || status == 0xF7) {
                skip(variableLength());
            } else if (status >= 0xF0) {
                fail("has a system message that does not belong in a file");
            } else {
                const int kind = status & 0xF0;
                const int dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
                for (int i = 0; i < dataBytes; ++i)
                    if (byte() >= 0x80) fail("has a message with a missing data byte");
            }
        }
        fail("does not end with an end-of-track event");
    }

private:
    [[noreturn]] void fail(const std::string& problem) const {
        throw std::runtime_error("track " + std::to_string(track_) + " " + problem);
    }
    unsigned char byte() {
        if (at_ >= end_) fail("is truncated");
        return *at_++;
    }
    std::uint32_t variableLength() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const unsigned char b = byte();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80)) return value;
        }
        fail("has a number longer than four bytes");
    }
    void skip(std::uint32_t bytes) {
        if (bytes > static_cast<std::size_t>(end_ - at_)) fail("is truncated");
        at_ += bytes;
    }

    const unsigned char* at_;
    const unsigned char* end_;
    int track_;
};

}  // namespace

void checkMidiStructure(const std::vector<unsigned char>& bytes) {
    const std::size_t size = bytes.size();
    const unsigned char* data = bytes.data();
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0) throw std::runtime_error("not a Standard MIDI File");
    if (bigEndian(data + 4, 4) != 6) throw std::runtime_error("the header chunk has the wrong length");
    const std::uint32_t format = bigEndian(data + 8, 2);
    const std::uint32_t tracks = bigEndian(data + 10, 2);
    const std::uint32_t division = bigEndian(data + 12, 2);
    if (format > 2) throw std::runtime_error("unknown format " + std::to_string(format));
    if (tracks == 0) throw std::runtime_error("the file declares no track");
    if (division == 0) throw std::runtime_error("the file declares no time division");

    std::uint32_t found = 0;
    std::size_t at = 14;
    while (at < size) {
        if (size - at < 8) throw std::runtime_error("the file ends inside a chunk header");
        const std::uint32_t length = bigEndian(data + at + 4, 4);
        if (length > size - at - 8) throw std::runtime_error("a chunk is truncated");
        if (std::memcmp(data + at, "MTrk", 4) == 0) {
            ++found;
            TrackReader(data + at + 8, data + at + 8 + length, static_cast<int>(found)).check();
        }
        at += 8 + length;  // chunks of other kinds are skipped
    }
    if (found != tracks)
        throw std::runtime_error("the header declares " + std::to_string(tracks) + " tracks but the file has " +
                                 std::to_string(found));
}

}  // namespace render
