#include "plugin/value_text.h"

#include <atomic>
#include <cmath>

namespace value_text {

namespace {
std::atomic<char> gSeparator{'.'};
}

char decimalSeparator() noexcept { return gSeparator.load(std::memory_order_relaxed); }

void setDecimalSeparator(char separator) noexcept { gSeparator.store(separator, std::memory_order_relaxed); }

void formatParameterValue(float value, char separator, char* text) noexcept {
    if (value > 1.0f)
        value = 1.0f;
    else if (!(value >= 0.0f))
        value = 0.0f;

    // value * 100 is exact in double (24 + 7 significant bits), and so is its
    // fractional part: the half-up decision is taken on the exact value. For a
    // float this equals writing it to 18 significant digits and cutting that
    // text to two decimals, since no float lies within 1e-18 of a tie without
    // being one.
    const double scaled = static_cast<double>(value) * 100.0;
    double hundredths = std::floor(scaled);
    if (scaled - hundredths >= 0.5) hundredths += 1.0;
    const int n = static_cast<int>(hundredths);  // 0 to 100

    text[0] = static_cast<char>('0' + n / 100);
    text[1] = separator;
    text[2] = static_cast<char>('0' + n / 10 % 10);
    text[3] = static_cast<char>('0' + n % 10);
    text[4] = '\0';
}

}  // namespace value_text
