// The colour kit's +[UIColor colorWithHex:] on any text, against a reading
// written here (the first character skipped, then scanHexInt:); its colour
// must be opaque with components within 0..1, and hexFromColor: must give
// back the six digits of the number's low three bytes, which read again give
// the same colour. The HSB adjustments, with a percentage from the input,
// must keep every component within 0..1 and give a hex that reads back to
// itself.
//
// Input layout (FuzzedDataProvider): the last eight bytes are the
// percentage, the rest is the text.
#include "ColorPickerKit.h"
#include "UIColor+PFColor.h"

#include <Foundation/Foundation.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, NS::String* text, double got) {
    std::fprintf(stderr, "%s of \"%s\": %.17g\n", what, text ? text->UTF8String() : "(nil)", got);
    std::abort();
}

void checkComponents(UI::Color* color, NS::String* text) {
    if (color == nullptr) fail("a nil colour", text, 0);
    CGFloat c[4] = {-1, -1, -1, -1};
    color->getRed(&c[0], &c[1], &c[2], &c[3]);
    for (CGFloat v : c) {
        if (!std::isfinite(v) || v < 0 || v > 1) fail("a component outside 0..1", text, v);
    }
}

bool sameColor(UI::Color* a, UI::Color* b) {
    CGFloat x[4], y[4];
    a->getRed(&x[0], &x[1], &x[2], &x[3]);
    b->getRed(&y[0], &y[1], &y[2], &y[3]);
    return x[0] == y[0] && x[1] == y[1] && x[2] == y[2] && x[3] == y[3];
}

// A hex text written by the kit must read back to a colour that writes the
// same text again.
void checkRoundTrip(UI::Color* color, NS::String* text) {
    NS::String* hex = PFColor::hexFromColor(color);
    if (hex == nullptr || hex->length() != 7) fail("a hex text not of seven characters", text, hex ? hex->length() : 0);
    UI::Color* again = PFColor::colorWithHex(hex);
    if (!PFColor::hexFromColor(again)->isEqualToString(hex)) fail("a hex that does not read back", hex, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (colorpicker::registerClasses(), true);
    (void)registered;
    FuzzedDataProvider in(data, size);
    const double percentage = size >= 8 ? in.ConsumeFloatingPoint<double>() : 10.0;
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    objc::AutoreleasePool pool;
    auto* made = NS::String::alloc()->initWithBytes(bytes.data(), bytes.size(), NSUTF8StringEncoding);
    if (made == nullptr) return 0;
    auto* text = objc::cast<NS::String>(made->autorelease());

    unsigned int value = 0;
    if (text->length() > 0) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(text);
        scanner->setScanLocation(1);
        scanner->scanHexInt(&value);
    }
    UI::Color* color = PFColor::colorWithHex(text);
    checkComponents(color, text);
    PFColor* pf = PFColor::of(color);
    if (pf->red() != CGFloat(((value >> 16) & 0xFF) / 255.0) || pf->green() != CGFloat(((value >> 8) & 0xFF) / 255.0) ||
        pf->blue() != CGFloat((value & 0xFF) / 255.0) || pf->alpha() != 1.0)
        fail("a colour other than the number's", text, value);

    char want[8];
    std::snprintf(want, sizeof want, "#%02X%02X%02X", (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    NS::String* hex = PFColor::hexFromColor(color);
    if (hex == nullptr || std::string(hex->UTF8String()) != want) fail("a hex other than the number's", text, value);
    if (!sameColor(PFColor::colorWithHex(hex), color)) fail("a hex that reads back to another colour", text, value);

    for (UI::Color* adjusted : {pf->lighten(percentage), pf->darken(percentage), pf->desaturate(percentage)}) {
        checkComponents(adjusted, text);
        for (CGFloat v :
             {PFColor::of(adjusted)->hue(), PFColor::of(adjusted)->saturation(), PFColor::of(adjusted)->brightness()}) {
            if (!std::isfinite(v) || v < 0 || v > 1) fail("an HSB reading outside 0..1", text, v);
        }
        checkRoundTrip(adjusted, text);
    }
    return 0;
}
