#include "UIColor+PFColor.h"

#include <Foundation/NSScanner.h>
#include <Foundation/NSString.h>

namespace colorpicker {
namespace {

// The colour of a colour string's hex part. The first character stands for
// the "#" and is skipped unseen; the scanner then takes white space, an
// optional 0x and the hex digits up to the first other character, so the
// ":alpha" of a full colour string simply ends the number.
UI::Color* colorWithHex(id, SEL, NS::String* hex) {
    unsigned value = 0;
    // With no first character there is nothing to skip and no number to read.
    if (hex != nullptr && hex->length() > 0) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(hex);
        scanner->setScanLocation(1);
        scanner->scanHexInt(&value);
    }
    return UI::Color::colorWithRed(componentFromByte<CGFloat>(value >> 16), componentFromByte<CGFloat>(value >> 8),
                                   componentFromByte<CGFloat>(value), 1.0);
}

// Cuts each component toward zero rather than rounding, so that every byte
// read by colorWithHex: is written back unchanged. Only red, green and blue
// are read; alpha has no place in the hex text.
NS::String* hexFromColor(id, SEL, UI::Color* color) {
    const CGFloat* components = CGColorGetComponents(color->CGColor());
    return NS::String::stringWithFormat("#%02X%02X%02X"_ns, byteFromComponent(components[0]),
                                        byteFromComponent(components[1]), byteFromComponent(components[2]));
}

// Each reader asks the colour's own conversion for its one component. When
// the conversion fails it fills nothing, and the reader answers 0.
CGFloat alpha(UI::Color* self, SEL) {
    CGFloat value = 0;
    self->getWhite(nullptr, &value);
    return value;
}

CGFloat red(UI::Color* self, SEL) {
    CGFloat value = 0;
    self->getRed(&value, nullptr, nullptr, nullptr);
    return value;
}

CGFloat green(UI::Color* self, SEL) {
    CGFloat value = 0;
    self->getRed(nullptr, &value, nullptr, nullptr);
    return value;
}

CGFloat blue(UI::Color* self, SEL) {
    CGFloat value = 0;
    self->getRed(nullptr, nullptr, &value, nullptr);
    return value;
}

CGFloat hue(UI::Color* self, SEL) {
    CGFloat value = 0;
    self->getHue(&value, nullptr, nullptr, nullptr);
    return value;
}

CGFloat saturation(UI::Color* self, SEL) {
    CGFloat value = 0;
    self->getHue(nullptr, &value, nullptr, nullptr);
    return value;
}

CGFloat brightness(UI::Color* self, SEL) {
    CGFloat value = 0;
    self->getHue(nullptr, nullptr, &value, nullptr);
    return value;
}

// The adjustments read the components through the readers above (so that a
// subclass's override is honoured) and hand the products to the HSB
// constructor as they are: it limits each one to 0..1 itself.
struct Components {
    CGFloat hue, saturation, brightness, alpha;
};

Components componentsOf(UI::Color* self) {
    PFColor* color = PFColor::of(self);
    Components c{};
    c.hue = color->hue();
    c.saturation = color->saturation();
    c.brightness = color->brightness();
    c.alpha = color->alpha();
    return c;
}

UI::Color* desaturate(UI::Color* self, SEL, CGFloat percentage) {
    const Components c = componentsOf(self);
    const CGFloat p = percentage / 100;
    return UI::Color::colorWithHue(c.hue, c.saturation * (1 - p), c.brightness, c.alpha);
}

UI::Color* lighten(UI::Color* self, SEL, CGFloat percentage) {
    const Components c = componentsOf(self);
    const CGFloat p = percentage / 100;
    return UI::Color::colorWithHue(c.hue, c.saturation * (1 - p), c.brightness * (1 + p), c.alpha);
}

UI::Color* darken(UI::Color* self, SEL, CGFloat percentage) {
    const Components c = componentsOf(self);
    const CGFloat p = percentage / 100;
    return UI::Color::colorWithHue(c.hue, c.saturation * (1 + p), c.brightness * (1 - p), c.alpha);
}

}  // namespace

void registerColorCategory() {
    objc::ClassExtender("UIColor"_cls)
        .method("alpha", &alpha)
        .method("red", &red)
        .method("green", &green)
        .method("blue", &blue)
        .method("hue", &hue)
        .method("saturation", &saturation)
        .method("brightness", &brightness)
        .method("desaturate:", &desaturate)
        .method("lighten:", &lighten)
        .method("darken:", &darken)
        .classMethod("colorWithHex:", &colorWithHex)
        .classMethod("hexFromColor:", &hexFromColor);
}

}  // namespace colorpicker
