// The readings of numbers at the start of a text that NSString's
// boolValue/intValue/integerValue/doubleValue and NSScanner share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace NS::text {

// White space and line breaks, as the phone's readers skip them.
bool isWhitespace(char16_t c);

// Skips white space, an optional sign and zeros, then YES on Y, y, T, t or
// a digit 1-9; anything else is NO.
bool leadingBool(std::u16string_view text);

// Skips white space, reads an optional sign and decimal digits; clamps to
// the range of long long on overflow; 0 when there are no digits.
long long leadingInteger(std::u16string_view text);

// Skips white space, reads the longest decimal floating-point number
// (sign, digits, one point, an exponent when digits follow it); 0 when there
// is none; plus or minus HUGE_VAL on overflow.
double leadingDouble(std::u16string_view text);

// From `position`: skips white space, an optional "0x"/"0X" that a hex digit
// follows, then hex digits of either case. False (nothing consumed, `value`
// untouched) when no digit is there. Saturates at 0xFFFFFFFF and still
// consumes every digit. `position` ends after the last digit.
bool scanHex(std::u16string_view text, std::size_t& position, std::uint32_t& value);

}  // namespace NS::text
