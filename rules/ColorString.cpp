#include "ColorString.h"

namespace huebloom {

namespace {

// The hexadecimal number of a colour string: after its first character, in
// the part before the first ":".
unsigned int scanHexPart(NS::String* hex) {
    unsigned int value = 0;
    if (hex->length() > 0) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(hex);
        scanner->setScanLocation(1);
        scanner->scanHexInt(&value);
    }
    return value;
}

// The stored form itself: one ASCII character, then one to eight
// hexadecimal digits up to the end or a ":". For it the scan can only give
// the number those digits write, so it is read here without a scanner; any
// other string (spaces, a "0x", a longer number, other characters) goes
// through the scanner.
bool readPlainHex(NS::String* text, unsigned int* value) {
    const char* utf8 = text->UTF8String();
    if (utf8 == nullptr || utf8[0] <= 0 || utf8[0] == ':') return false;
    unsigned int v = 0;
    int digits = 0;
    for (const char* p = utf8 + 1;; ++p) {
        int d = *p >= '0' && *p <= '9'   ? *p - '0'
                : *p >= 'a' && *p <= 'f' ? *p - 'a' + 10
                : *p >= 'A' && *p <= 'F' ? *p - 'A' + 10
                                         : -1;
        if (d < 0) {
            if ((*p != '\0' && *p != ':') || digits == 0) return false;
            *value = v;
            return true;
        }
        if (++digits > 8) return false;
        v = v * 16 + unsigned(d);
    }
}

}  // namespace

ColorComponents parseColorString(NS::String* text, AlphaRule rule) {
    // The getters parse on every call, so the parts are made only when
    // needed: for the alpha of an alpha-taking key, and for a hexadecimal
    // part that is not in the stored form. An opaque key scans the whole
    // string: the number ends at the first ":" just as it ends at the end of
    // the part before it, so the result is the same. A string that begins
    // with ":" has an empty hexadecimal part, which reads as no digits.
    NS::Array* parts = rule == AlphaRule::FromString ? text->componentsSeparatedByString(":"_ns) : nullptr;
    unsigned int value = 0;
    if (!readPlainHex(text, &value)) {
        if (parts != nullptr) {
            value = scanHexPart(objc::cast<NS::String>(parts->objectAtIndex(0)));
        } else if (text->length() > 0 && text->characterAtIndex(0) != ':') {
            value = scanHexPart(text);
        }
    }

    ColorComponents c{};
    c.red = CGFloat(double((value >> 16) & 0xFF) / 255.0);
    c.green = CGFloat(double((value >> 8) & 0xFF) / 255.0);
    c.blue = CGFloat(double(value & 0xFF) / 255.0);
    c.alpha = 1.0;
    if (parts != nullptr && parts->count() > 1) {
        c.alpha = CGFloat(objc::cast<NS::String>(parts->objectAtIndex(1))->doubleValue());
    }
    return c;
}

UI::Color* colorFromString(NS::String* text, AlphaRule rule) {
    ColorComponents c = parseColorString(text, rule);
    return objc::cast<UI::Color>(UI::Color::alloc()->initWithRed(c.red, c.green, c.blue, c.alpha)->autorelease());
}

}  // namespace huebloom
