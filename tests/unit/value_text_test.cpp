#include <gtest/gtest.h>

#include <limits>

#include "plugin/value_text.h"

namespace {

std::string shown(float value, char separator = '.') {
    char text[16];
    std::fill(std::begin(text), std::end(text), '#');
    value_text::formatParameterValue(value, separator, text);
    EXPECT_EQ(text[5], '#') << "writes five bytes only";
    return text;
}

// Two decimals, half up on the exact value: C's "%.2f" would round ties to
// even on the binary value and show 0.12 for 0.125.
TEST(ValueText, TwoDecimalsRoundedHalfUp) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {
        {0.0f, "0.00"},  {1.0f / 3.0f, "0.33"}, {0.9f, "0.90"},   {1.0f, "1.00"},   {0.125f, "0.13"},
        {0.625f, "0.63"}, {0.375f, "0.38"},     {0.3f, "0.30"},   {0.005f, "0.00"},  // 0.004999999888
        {0.015f, "0.01"},  // 0.01499999966
        {0.985f, "0.99"},  // 0.98500001431
        {0.995f, "1.00"}, {0.994999f, "0.99"}, {1e-30f, "0.00"}, {0.5f, "0.50"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(c.value), c.text) << "value " << c.value;
}

TEST(ValueText, OutOfRangeIsClampedAndNegativeZeroShowsZero) {
    EXPECT_EQ(shown(-0.0f), "0.00");
    EXPECT_EQ(shown(2.0f), "1.00");
    EXPECT_EQ(shown(-0.5f), "0.00");
    EXPECT_EQ(shown(std::numeric_limits<float>::quiet_NaN()), "0.00");
    EXPECT_EQ(shown(std::numeric_limits<float>::infinity()), "1.00");
}

TEST(ValueText, UsesTheGivenSeparator) {
    EXPECT_EQ(shown(1.0f / 3.0f, ','), "0,33");
    EXPECT_EQ(value_text::decimalSeparator(), '.');
}

}  // namespace
