// The text a host shows for a parameter value.
#pragma once

namespace value_text {

// The decimal separator of the user's locale, read once when the library
// starts (entry/); a point until then and when the locale names none.
char decimalSeparator() noexcept;
void setDecimalSeparator(char separator) noexcept;

// Writes a parameter value with one digit before and two after the separator
// ("0.33"), rounding half up at the second decimal: 0.125 shows "0.13". A value
// outside 0 to 1 is clamped first, like the parameter setter does; -0.0 shows
// "0.00". Writes 5 bytes, the terminating zero included.
void formatParameterValue(float value, char separator, char* text) noexcept;

}  // namespace value_text
