// Conversions between UTF-8 and UTF-16, shared by the string class, the
// formatter and the property-list reader.
#pragma once

#include <string>
#include <string_view>

namespace NS::unicode {

// Strict: false (and `out` unspecified) for malformed UTF-8 (truncated or
// stray continuation bytes, overlong forms, encoded surrogates, values past
// U+10FFFF).
bool utf8ToUtf16(std::string_view in, std::u16string& out);

// Lenient: each malformed sequence becomes U+FFFD.
void utf8ToUtf16Lossy(std::string_view in, std::u16string& out);

// Unpaired surrogates become U+FFFD.
void utf16ToUtf8(std::u16string_view in, std::string& out);

}  // namespace NS::unicode
