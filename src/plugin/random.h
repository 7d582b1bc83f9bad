// The process-wide pseudo-random generator that all instances share: the
// noise oscillator and the editor's randomise button draw from it, and every
// instance creation reseeds it from the clock. Lock-free and free of data
// races: each draw takes its own step of one atomic counter.
#pragma once

#include <cstdint>

namespace random_source {

void seed(std::uint64_t seed) noexcept;
// Reseeds from the system clock.
void seedFromClock() noexcept;
// The next value, uniform from 0 up to but excluding 1 (53 random bits).
double next() noexcept;

}  // namespace random_source
