#include "ColorLookups.h"

#include <Foundation/NSScanner.h>
#include <SettingsDomain.h>

#include <cstdlib>

namespace {

bool isString(id object) { return object != nil && objc::cast<NS::Object>(object)->isKindOfClass("NSString"_cls); }

// A colour string as the Settings side reads it: the hex part, and the alpha
// after a ":" when there is one (else 1).
UI::Color* colorFromColorString(NS::String* text) {
    NS::Array* pieces = text->componentsSeparatedByString(":"_ns);
    CGFloat alpha = 1.0;
    if (text->rangeOfString(":"_ns).location != static_cast<NSUInteger>(NSNotFound))
        alpha = objc::cast<NS::String>(pieces->objectAtIndex(1))->floatValue();
    return colorFromHex(objc::cast<NS::String>(pieces->objectAtIndex(0)))->colorWithAlphaComponent(alpha);
}

}  // namespace

__attribute__((visibility("default"))) UI::Color* colorFromHex(NS::String* hex) {
    if (hex == nullptr) {
        // Drawn in this order: hue over the whole circle, saturation and
        // brightness in the upper half, so the colour is never dull.
        const double hue = (arc4random() & 0xFF) / 256.0;
        const double saturation = (arc4random() & 0x7F) / 256.0 + 0.5;
        const double brightness = (arc4random() & 0x7F) / 256.0 + 0.5;
        return UI::Color::colorWithHue(static_cast<CGFloat>(hue), static_cast<CGFloat>(saturation),
                                       static_cast<CGFloat>(brightness), 1.0);
    }
    unsigned value = 0;
    NS::Scanner* scanner = NS::Scanner::scannerWithString(hex);
    scanner->setScanLocation(hex->hasPrefix("#"_ns) ? 1 : 0);
    scanner->scanHexInt(&value);
    return UI::Color::colorWithRed(static_cast<CGFloat>(((value >> 16) & 0xFF) / 255.0),
                                   static_cast<CGFloat>(((value >> 8) & 0xFF) / 255.0),
                                   static_cast<CGFloat>((value & 0xFF) / 255.0), 1.0);
}

__attribute__((visibility("default"))) UI::Color* colorFromDefaultsWithKey(NS::String* domain, NS::String* key,
                                                                           NS::String* fallback) {
    NS::Dictionary* settings = nullptr;
    if (colorpicker::isUsableSettingsDomain(domain)) {
        settings = NS::MutableDictionary::dictionaryWithContentsOfFile(
            NS::String::stringWithFormat("/var/mobile/Library/Preferences/%@.plist"_ns, domain));
    }
    // The fallback is converted on every call, before the file is looked at,
    // so a row without a fallback shows a new random colour each time. It is
    // read as a stored value is, so that a translucent system colour (an
    // overlay's) shows translucent while nothing is saved.
    UI::Color* fallbackColor = fallback != nullptr ? colorFromColorString(fallback) : colorFromHex(nullptr);
    id stored = settings != nullptr && key != nullptr ? settings->objectForKey(key) : nil;
    // Only colour strings are colours; a number or a switch's Boolean stored
    // under the same key reads as nothing saved.
    if (!isString(stored)) return fallbackColor;
    return colorFromColorString(objc::cast<NS::String>(stored));
}
