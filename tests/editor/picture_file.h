// Reference pictures for the editor tests: 8-bit RGB PNG files whose image
// data is stored without compression. Any picture viewer shows them, git
// compresses them, and the tests read them back on every target (cross
// builds included) without an image or compression library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace picture_file {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

bool write(const std::string& path, const Picture& picture);
// Reads a file that write() made; answers false with a reason for anything
// else (compressed data, other formats, a damaged file).
bool read(const std::string& path, Picture& picture, std::string& error);

}  // namespace picture_file
