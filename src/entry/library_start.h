// What the library does when it is loaded, before any host call.
#pragma once

namespace library_start {

// Masks every floating-point exception (SSE and x87) in the calling thread,
// so that overflow and invalid operations give infinities and NaNs, not traps.
void maskFloatingPointExceptions() noexcept;

// The decimal separator of the user's locale (not the host process's C
// locale): one printable ASCII character, or '.' when the locale names none
// or names one that does not fit.
char userDecimalSeparator() noexcept;

// Both of the above, once, in the loading thread.
void run() noexcept;

}  // namespace library_start
