// The hook library's colour string parse: every input is read under both
// alpha rules and compared with the plain reading the settings have always
// had (split at ":", the first part scanned from its second character, the
// second part's doubleValue as the alpha); a mismatch aborts. The colour made
// from the string must hold finite components within 0..1, whatever the
// string says, since the drawing code takes them as they are.
#include <ColorString.h>
#include <SettingsReader.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using huebloom::AlphaRule;

struct Reading {
    unsigned int value;
    double alpha;  // the alpha an alpha-taking key gets
};

Reading splitAndScan(NS::String* text) {
    NS::Array* parts = text->componentsSeparatedByString(":"_ns);
    NS::String* hex = objc::cast<NS::String>(parts->objectAtIndex(0));
    unsigned int value = 0;
    if (hex->length() > 0) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(hex);
        scanner->setScanLocation(1);
        scanner->scanHexInt(&value);
    }
    double alpha = parts->count() > 1 ? objc::cast<NS::String>(parts->objectAtIndex(1))->doubleValue() : 1.0;
    return {value, alpha};
}

[[noreturn]] void fail(const char* what, const std::string& text, double got, double want) {
    std::fprintf(stderr, "%s of \"%s\": %.17g, expected %.17g\n", what, text.c_str(), got, want);
    std::abort();
}

bool sameNumber(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

void checkColor(UI::Color* color, const std::string& text) {
    if (color == nullptr) fail("a nil colour", text, 0, 1);
    CGFloat c[4] = {-1, -1, -1, -1};
    color->getRed(&c[0], &c[1], &c[2], &c[3]);
    for (CGFloat v : c) {
        if (!std::isfinite(v) || v < 0 || v > 1) fail("a colour component", text, v, 0.5);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The settings file can hold any string, zero characters included.
    std::string text(reinterpret_cast<const char*>(data), size);
    objc::AutoreleasePool pool;
    NS::String* string = NS::String::alloc()->initWithBytes(data, size, NSUTF8StringEncoding);
    if (string == nullptr) return 0;
    string->autorelease();

    Reading want = splitAndScan(string);
    for (AlphaRule rule : {AlphaRule::Opaque, AlphaRule::FromString}) {
        huebloom::ColorComponents c = huebloom::parseColorString(string, rule);
        if (c.red != CGFloat(double((want.value >> 16) & 0xFF) / 255.0)) fail("red", text, c.red, want.value);
        if (c.green != CGFloat(double((want.value >> 8) & 0xFF) / 255.0)) fail("green", text, c.green, want.value);
        if (c.blue != CGFloat(double(want.value & 0xFF) / 255.0)) fail("blue", text, c.blue, want.value);
        double alpha = rule == AlphaRule::Opaque ? 1.0 : double(CGFloat(want.alpha));
        if (!sameNumber(c.alpha, alpha)) fail("alpha", text, c.alpha, alpha);
        checkColor(huebloom::colorFromString(string, rule), text);
    }

    // The same string stored under a key of the settings, and the key empty.
    const huebloom::SettingsReader settings(NS::Dictionary::dictionaryWithObject(string, "blueOverlay"_ns));
    checkColor(settings.colorForKey("blueOverlay"_ns, "#5FC6F4"_ns, AlphaRule::FromString), text);
    checkColor(settings.colorForKey("blueText"_ns, string, AlphaRule::Opaque), text);
    return 0;
}
