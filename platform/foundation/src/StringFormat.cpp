// The format engine behind stringWithFormat:, initWithFormat: and
// appendFormat:. Each conversion keeps its printf meaning (flags, width,
// precision and length modifiers included) and is handed to snprintf; %@
// inserts an object's description ("(null)" for nil), %C one UTF-16 unit and
// %S a zero-terminated UTF-16 text. %n writes nothing: it only consumes its
// argument. Positional arguments (%1$d) and unknown conversions are copied
// into the result as they stand, consuming nothing.
#include <Foundation/NSString.h>

#include "FoundationInternal.h"
#include "Unicode.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace NS::internal {
namespace {

enum class Length { None, hh, h, l, ll, j, z, t, L };

// snprintf into a growing buffer.
template <class T>
void appendPrintf(std::string& out, const std::string& spec, T value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), spec.c_str(), value);
    out.append(big.data(), static_cast<std::size_t>(n));
}

void appendSigned(std::string& out, std::string spec, Length length, char conversion, va_list& args) {
    switch (length) {
    case Length::l: appendPrintf(out, spec + "l" + conversion, va_arg(args, long)); break;
    case Length::ll: appendPrintf(out, spec + "ll" + conversion, va_arg(args, long long)); break;
    case Length::j: appendPrintf(out, spec + "j" + conversion, va_arg(args, intmax_t)); break;
    case Length::z: appendPrintf(out, spec + "z" + conversion, va_arg(args, ssize_t)); break;
    case Length::t: appendPrintf(out, spec + "t" + conversion, va_arg(args, ptrdiff_t)); break;
    case Length::hh: appendPrintf(out, spec + "hh" + conversion, va_arg(args, int)); break;
    case Length::h: appendPrintf(out, spec + "h" + conversion, va_arg(args, int)); break;
    default: appendPrintf(out, spec + conversion, va_arg(args, int)); break;
    }
}

void appendUnsigned(std::string& out, std::string spec, Length length, char conversion, va_list& args) {
    switch (length) {
    case Length::l: appendPrintf(out, spec + "l" + conversion, va_arg(args, unsigned long)); break;
    case Length::ll: appendPrintf(out, spec + "ll" + conversion, va_arg(args, unsigned long long)); break;
    case Length::j: appendPrintf(out, spec + "j" + conversion, va_arg(args, uintmax_t)); break;
    case Length::z: appendPrintf(out, spec + "z" + conversion, va_arg(args, size_t)); break;
    case Length::t: appendPrintf(out, spec + "t" + conversion, va_arg(args, ptrdiff_t)); break;
    case Length::hh: appendPrintf(out, spec + "hh" + conversion, va_arg(args, unsigned)); break;
    case Length::h: appendPrintf(out, spec + "h" + conversion, va_arg(args, unsigned)); break;
    default: appendPrintf(out, spec + conversion, va_arg(args, unsigned)); break;
    }
}

void appendUnit(std::string& out, char16_t unit) {
    std::string utf8;
    unicode::utf16ToUtf8(std::u16string_view(&unit, 1), utf8);
    out += utf8;
}

}  // namespace

std::string formatUTF8(id format, va_list args) {
    std::string out;
    if (format == nil) return out;
    if (!isString(format)) objc::fatal("format is a %s, not a string", object_getClassName(format));
    const std::string fmt = utf8Of(format);
    // va_list may be an array type; work on a copy that can be passed by
    // reference to the helpers.
    va_list ap;
    va_copy(ap, args);
    std::size_t i = 0;
    while (i < fmt.size()) {
        char c = fmt[i];
        if (c != '%') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t start = i++;
        if (i < fmt.size() && fmt[i] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        std::string spec = "%";
        while (i < fmt.size() && std::string_view("-+ #0'").find(fmt[i]) != std::string_view::npos) spec += fmt[i++];
        bool positional = false;
        auto readNumberOrStar = [&] {
            if (i < fmt.size() && fmt[i] == '*') {
                spec += std::to_string(va_arg(ap, int));
                ++i;
                return;
            }
            std::size_t digitsStart = i;
            while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') spec += fmt[i++];
            if (i < fmt.size() && fmt[i] == '$' && i > digitsStart) positional = true;
        };
        readNumberOrStar();
        if (!positional && i < fmt.size() && fmt[i] == '.') {
            spec += fmt[i++];
            readNumberOrStar();
        }
        Length length = Length::None;
        if (!positional && i < fmt.size()) {
            switch (fmt[i]) {
            case 'h':
                ++i;
                length = Length::h;
                if (i < fmt.size() && fmt[i] == 'h') ++i, length = Length::hh;
                break;
            case 'l':
                ++i;
                length = Length::l;
                if (i < fmt.size() && fmt[i] == 'l') ++i, length = Length::ll;
                break;
            case 'q': ++i, length = Length::ll; break;
            case 'j': ++i, length = Length::j; break;
            case 'z': ++i, length = Length::z; break;
            case 't': ++i, length = Length::t; break;
            case 'L': ++i, length = Length::L; break;
            default: break;
            }
        }
        char conversion = (!positional && i < fmt.size()) ? fmt[i] : '\0';
        switch (conversion) {
        case 'd':
        case 'i': appendSigned(out, spec, length, conversion, ap); break;
        case 'u':
        case 'o':
        case 'x':
        case 'X': appendUnsigned(out, spec, length, conversion, ap); break;
        case 'c': appendPrintf(out, spec + 'c', va_arg(ap, int)); break;
        case 'C': appendUnit(out, static_cast<char16_t>(va_arg(ap, int))); break;
        case 's': {
            const char* s = va_arg(ap, const char*);
            appendPrintf(out, spec + 's', s ? s : "(null)");
            break;
        }
        case 'S': {
            const unichar* s = va_arg(ap, const unichar*);
            if (s == nullptr) {
                out += "(null)";
            } else {
                std::u16string text;
                for (; *s; ++s) text.push_back(*s);
                std::string utf8;
                unicode::utf16ToUtf8(text, utf8);
                out += utf8;
            }
            break;
        }
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            if (length == Length::L) {
                appendPrintf(out, spec + 'L' + conversion, va_arg(ap, long double));
            } else {
                appendPrintf(out, spec + conversion, va_arg(ap, double));
            }
            break;
        case 'p': appendPrintf(out, spec + 'p', va_arg(ap, void*)); break;
        case 'n': (void)va_arg(ap, void*); break;
        case '@': {
            id object = va_arg(ap, id);
            out += object ? describe(object) : std::string("(null)");
            break;
        }
        default:
            // Not a conversion we know: keep the text and read no argument.
            out.append(fmt, start, (i < fmt.size() ? i + 1 : i) - start);
            i = i < fmt.size() ? i + 1 : i;
            continue;
        }
        ++i;
    }
    va_end(ap);
    return out;
}

}  // namespace NS::internal
