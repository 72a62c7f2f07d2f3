// scanHexInt: against a reference model that works on the text as a whole
// (find the digits, drop leading zeros, parse or saturate) rather than digit
// by digit. Any difference in the answer, the value or the location aborts.
#include <Foundation/Foundation.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The units the input bytes are drawn from: digits, letters that are and are
// not hex digits, the prefix letters, white space of several kinds, a
// surrogate, and punctuation of colour strings.
const unichar kAlphabet[] = {'0',  '1',  '7',  '9',    'a',    'f',    'A',    'F', 'g', 'G', 'x', 'X', ' ',
                             '\t', '\n', '\r', 0x2003, 0x00A0, 0x3000, 0xD83D, '#', ':', '.', '-', '+', 'z'};

bool isSpace(unichar c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0x2003 || c == 0x00A0 || c == 0x3000;
}
bool isHexDigit(unichar c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

struct Result {
    bool found;
    std::uint32_t value;
    std::size_t end;
};

Result model(const std::vector<unichar>& text, std::size_t start) {
    std::size_t i = start;
    while (i < text.size() && isSpace(text[i])) ++i;
    std::u16string rest(text.begin() + static_cast<std::ptrdiff_t>(i), text.end());
    if (rest.size() >= 3 && rest[0] == u'0' && (rest[1] == u'x' || rest[1] == u'X') && isHexDigit(rest[2])) {
        rest.erase(0, 2);
        i += 2;
    }
    std::size_t digits = 0;
    while (digits < rest.size() && isHexDigit(rest[digits])) ++digits;
    if (digits == 0) return {false, 0, start};
    std::string number(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(digits));
    std::size_t firstNonZero = number.find_first_not_of('0');
    number = firstNonZero == std::string::npos ? "0" : number.substr(firstNonZero);
    std::uint32_t value = number.size() > 8 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(std::stoul(number, nullptr, 16));
    return {true, value, i + digits};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::vector<unichar> text;
    for (std::size_t k = 1; k < size; ++k)
        text.push_back(kAlphabet[data[k] % (sizeof kAlphabet / sizeof kAlphabet[0])]);
    std::size_t start = data[0] % (text.size() + 1);

    objc::AutoreleasePool pool;
    NS::Scanner* scanner = NS::Scanner::scannerWithString(NS::String::stringWithCharacters(text.data(), text.size()));
    scanner->setScanLocation(start);
    const unsigned sentinel = 0xA5A5A5A5u;
    unsigned value = sentinel;
    bool found = scanner->scanHexInt(&value);
    Result expected = model(text, start);
    bool same = found == expected.found && scanner->scanLocation() == expected.end &&
                value == (expected.found ? expected.value : sentinel);
    if (!same) {
        std::fprintf(stderr, "scanHexInt: found %d value %08X end %lu; model: found %d value %08X end %zu\n", found,
                     value, scanner->scanLocation(), expected.found, expected.value, expected.end);
        std::abort();
    }
    return 0;
}
