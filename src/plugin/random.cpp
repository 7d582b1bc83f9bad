#include "plugin/random.h"

#include <atomic>
#include <chrono>

namespace random_source {

namespace {

// A counter stepped by the golden-ratio increment and hashed on output
// (SplitMix64): a draw is one atomic add, so concurrent draws never race and
// never take a lock.
constexpr std::uint64_t kIncrement = 0x9E3779B97F4A7C15ull;
std::atomic<std::uint64_t> gCounter{kIncrement};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free, "the generator must be lock-free");

std::uint64_t mix(std::uint64_t z) noexcept {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void seed(std::uint64_t value) noexcept { gCounter.store(value, std::memory_order_relaxed); }

void seedFromClock() noexcept {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    seed(mix(static_cast<std::uint64_t>(ticks)));
}

double next() noexcept {
    const std::uint64_t step = gCounter.fetch_add(kIncrement, std::memory_order_relaxed) + kIncrement;
    return static_cast<double>(mix(step) >> 11) * 0x1.0p-53;
}

}  // namespace random_source
