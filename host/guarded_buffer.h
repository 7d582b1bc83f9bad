// A buffer handed to a plug-in with guard bytes on both sides, to prove that
// the plug-in writes nothing outside it.
#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

namespace host {

class GuardedBuffer {
public:
    static constexpr std::size_t kGuard = 64;
    static constexpr unsigned char kGuardByte = 0xA5;

    explicit GuardedBuffer(std::size_t size, unsigned char fill = 0)
        : bytes_(size + 2 * kGuard, kGuardByte), size_(size) {
        std::memset(data(), fill, size);
    }

    char* data() noexcept { return reinterpret_cast<char*>(bytes_.data() + kGuard); }
    std::size_t size() const noexcept { return size_; }

    // True while no guard byte was overwritten.
    bool intact() const noexcept {
        for (std::size_t i = 0; i < kGuard; ++i)
            if (bytes_[i] != kGuardByte || bytes_[kGuard + size_ + i] != kGuardByte) return false;
        return true;
    }

private:
    std::vector<unsigned char> bytes_;
    std::size_t size_;
};

}  // namespace host
