#include "entry/library_start.h"

#include <xmmintrin.h>

#include "plugin/value_text.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace library_start {

void maskFloatingPointExceptions() noexcept {
    constexpr unsigned kSseExceptionMasks = 0x1F80;  // invalid, denormal, divide, overflow, underflow, precision
    _mm_setcsr(_mm_getcsr() | kSseExceptionMasks);

    constexpr unsigned short kX87ExceptionMasks = 0x3F;
    unsigned short controlWord = 0;
    __asm__ volatile("fnstcw %0" : "=m"(controlWord));
    controlWord = static_cast<unsigned short>(controlWord | kX87ExceptionMasks);
    __asm__ volatile("fldcw %0" : : "m"(controlWord));
}

namespace {
char usableSeparator(const char* text) {
    if (text && text[0] > ' ' && text[0] < 127 && text[1] == '\0') return text[0];
    return '.';
}
}  // namespace

char userDecimalSeparator() noexcept {
#if defined(_WIN32)
    char text[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) == 0) return '.';
    return usableSeparator(text);
#else
    // The locale the user's environment names, whatever the host set with setlocale.
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr)) return '.';
    const char separator = usableSeparator(nl_langinfo_l(RADIXCHAR, user));
    freelocale(user);
    return separator;
#endif
}

void run() noexcept {
    maskFloatingPointExceptions();
    value_text::setDecimalSeparator(userDecimalSeparator());
}

}  // namespace library_start
