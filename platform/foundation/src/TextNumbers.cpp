#include "TextNumbers.h"

#include <climits>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace NS::text {
namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::size_t skipWhitespace(std::u16string_view text, std::size_t i) {
    while (i < text.size() && isWhitespace(text[i])) ++i;
    return i;
}

}  // namespace

bool isWhitespace(char16_t c) {
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085:  // next line
    case 0x00A0:  // no-break space
    case 0x1680:
    case 0x2028:  // line separator
    case 0x2029:  // paragraph separator
    case 0x202F:
    case 0x205F:
    case 0x3000: return true;
    default: return c >= 0x2000 && c <= 0x200A;
    }
}

// YES for a first non-blank Y, y, T or t, or for a digit 1-9 after an
// optional sign and zeros: "+t" and "0t" are NO, "+0009" is YES.
bool leadingBool(std::u16string_view text) {
    std::size_t i = skipWhitespace(text, 0);
    if (i >= text.size()) return false;
    char16_t first = text[i];
    if (first == u'Y' || first == u'y' || first == u'T' || first == u't') return true;
    if (first == u'+' || first == u'-') ++i;
    while (i < text.size() && text[i] == u'0') ++i;
    return i < text.size() && text[i] >= u'1' && text[i] <= u'9';
}

long long leadingInteger(std::u16string_view text) {
    std::size_t i = skipWhitespace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    // Accumulate toward the negative side, whose range is one larger.
    long long value = 0;
    bool overflow = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        int d = text[i] - u'0';
        if (!overflow) {
            if (value < (LLONG_MIN + d) / 10) {
                overflow = true;
            } else {
                value = value * 10 - d;
            }
        }
    }
    if (overflow) return negative ? LLONG_MIN : LLONG_MAX;
    if (negative) return value;
    return value == LLONG_MIN ? LLONG_MAX : -value;
}

double leadingDouble(std::u16string_view text) {
    std::size_t i = skipWhitespace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    // Copy the number's characters (all ASCII) so that the conversion itself
    // is the C library's own.
    std::string number;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) number.push_back(static_cast<char>(text[i]));
    if (i < text.size() && text[i] == u'.') {
        number.push_back('.');
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits) number.push_back(static_cast<char>(text[i]));
    }
    if (digits == 0) return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) exponent.push_back(static_cast<char>(text[j++]));
        if (j < text.size() && isDigit(text[j])) {
            for (; j < text.size() && isDigit(text[j]); ++j) exponent.push_back(static_cast<char>(text[j]));
            number += exponent;
        }
    }
    // strtod gives HUGE_VAL on overflow and 0 (or a subnormal) on underflow;
    // the C locale keeps "." the decimal point whatever the process set.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    double value = strtod_l(number.c_str(), nullptr, cLocale);
    return negative ? -value : value;
}

bool scanHex(std::u16string_view text, std::size_t& position, std::uint32_t& value) {
    std::size_t i = skipWhitespace(text, position);
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        hexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    if (i >= text.size() || hexDigit(text[i]) < 0) return false;
    std::uint64_t result = 0;
    for (; i < text.size(); ++i) {
        int d = hexDigit(text[i]);
        if (d < 0) break;
        if (result <= 0xFFFFFFFFu) result = result * 16 + static_cast<unsigned>(d);
    }
    value = result > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(result);
    position = i;
    return true;
}

}  // namespace NS::text
