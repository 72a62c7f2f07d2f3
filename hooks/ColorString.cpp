#include "ColorString.h"

#include "Settings.h"

namespace huebloom {

ColorComponents parseColorString(NS::String* text, AlphaRule rule) {
    NS::Array* parts = text->componentsSeparatedByString(":"_ns);
    NS::String* hex = objc::cast<NS::String>(parts->objectAtIndex(0));

    unsigned int value = 0;
    if (hex->length() > 0) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(hex);
        scanner->setScanLocation(1);
        scanner->scanHexInt(&value);
    }

    ColorComponents c{};
    c.red = CGFloat(double((value >> 16) & 0xFF) / 255.0);
    c.green = CGFloat(double((value >> 8) & 0xFF) / 255.0);
    c.blue = CGFloat(double(value & 0xFF) / 255.0);
    c.alpha = 1.0;
    if (rule == AlphaRule::FromString && parts->count() > 1) {
        c.alpha = CGFloat(objc::cast<NS::String>(parts->objectAtIndex(1))->doubleValue());
    }
    return c;
}

UI::Color* colorFromString(NS::String* text, AlphaRule rule) {
    ColorComponents c = parseColorString(text, rule);
    return objc::cast<UI::Color>(UI::Color::alloc()->initWithRed(c.red, c.green, c.blue, c.alpha)->autorelease());
}

UI::Color* colorForKey(NS::String* key, NS::String* fallback, AlphaRule rule) {
    NS::String* stored = settingColorString(key);
    return colorFromString(stored ? stored : fallback, rule);
}

}  // namespace huebloom
