#include "picture_file.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace picture_file {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kMaxStoredBlock = 65535;

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t get32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

}  // namespace

bool write(const std::string& path, const Picture& picture) {
    // Scan lines: filter type 0, then red, green, blue per pixel.
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t p = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }
    // A zlib stream of stored deflate blocks.
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    for (std::size_t offset = 0; offset < raw.size() || offset == 0; offset += kMaxStoredBlock) {
        const std::size_t length = std::min(kMaxStoredBlock, raw.size() - offset);
        const bool last = offset + length >= raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(length));
        zlib.push_back(static_cast<std::uint8_t>(length >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~length));
        zlib.push_back(static_cast<std::uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        if (last) break;
    }
    put32(zlib, adler32(raw));

    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(picture.width));
    put32(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter 0, no interlace

    std::vector<std::uint8_t> file(std::begin(kSignature), std::end(kSignature));
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", zlib);
    putChunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

bool read(const std::string& path, Picture& picture, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), file.begin())) {
        error = path + " is not a PNG file";
        return false;
    }
    std::vector<std::uint8_t> header;
    std::vector<std::uint8_t> zlib;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::uint32_t length = get32(&file[at]);
        if (length > file.size() - at - 12) break;
        const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               file.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const auto data = file.begin() + static_cast<std::ptrdiff_t>(at + 8);
        if (type == "IHDR") header.assign(data, data + length);
        if (type == "IDAT") zlib.insert(zlib.end(), data, data + length);
        at += 12 + length;
    }
    if (header.size() != 13 || header[8] != 8 || header[9] != 2 || header[12] != 0) {
        error = path + ": expected 8-bit RGB without interlacing";
        return false;
    }
    const int width = static_cast<int>(get32(&header[0]));
    const int height = static_cast<int>(get32(&header[4]));
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        error = path + ": bad size";
        return false;
    }

    std::vector<std::uint8_t> raw;
    std::size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0) {
            error = path + ": image data is compressed; rewrite it with ORVALUNE_UPDATE_REFERENCES=1";
            return false;
        }
        last = (zlib[at] & 1) != 0;
        const std::size_t length = zlib[at + 1] | (zlib[at + 2] << 8);
        at += 5;
        if (length > zlib.size() - at) break;
        raw.insert(raw.end(), zlib.begin() + static_cast<std::ptrdiff_t>(at),
                   zlib.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    const std::size_t stride = static_cast<std::size_t>(width) * 3 + 1;
    if (raw.size() != stride * static_cast<std::size_t>(height)) {
        error = path + ": image data has the wrong length";
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = &raw[static_cast<std::size_t>(y) * stride];
        if (row[0] != 0) {
            error = path + ": unexpected scan-line filter";
            return false;
        }
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + 1 + 3 * x;
            picture.pixels[static_cast<std::size_t>(y) * width + x] =
                (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        }
    }
    return true;
}

}  // namespace picture_file
