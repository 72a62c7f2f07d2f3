#include "Unicode.h"

#include <cstdint>

namespace NS::unicode {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

void appendCodePoint(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

// Decodes one sequence at `i`; on success advances `i` past it. On failure
// `i` is advanced past the longest prefix that could have started a valid
// sequence (at least one byte), as the Unicode recommendation for
// replacement characters describes.
bool decodeOne(std::string_view in, std::size_t& i, char32_t& c) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(in[k]); };
    std::uint8_t b0 = byte(i);
    if (b0 < 0x80) {
        c = b0;
        ++i;
        return true;
    }
    std::size_t need;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1, c = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2, c = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3, c = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return false;
    }
    std::size_t k = i + 1;
    for (std::size_t n = 0; n < need; ++n, ++k) {
        if (k >= in.size() || (byte(k) & 0xC0) != 0x80) {
            i = k;
            return false;
        }
        c = (c << 6) | (byte(k) & 0x3F);
        // Reject overlong forms, surrogates and values past U+10FFFF as soon
        // as the second byte shows them.
        if (n == 0) {
            char32_t partialMin = min >> (6 * (need - 1));
            char32_t partialMax = 0x10FFFF >> (6 * (need - 1));
            bool surrogate = need == 2 && (c >> 5) == 0x1B;  // ED A0..BF
            if (c < partialMin || c > partialMax || surrogate) {
                i = k;
                return false;
            }
        }
    }
    i = k;
    return true;
}

}  // namespace

bool utf8ToUtf16(std::string_view in, std::u16string& out) {
    out.clear();
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        // Runs of ASCII are by far the common case.
        auto b = static_cast<std::uint8_t>(in[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        char32_t c;
        if (!decodeOne(in, i, c)) return false;
        appendCodePoint(out, c);
    }
    return true;
}

void utf8ToUtf16Lossy(std::string_view in, std::u16string& out) {
    out.clear();
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        char32_t c;
        if (decodeOne(in, i, c)) {
            appendCodePoint(out, c);
        } else {
            out.push_back(kReplacement);
        }
    }
}

void utf16ToUtf8(std::u16string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

}  // namespace NS::unicode
