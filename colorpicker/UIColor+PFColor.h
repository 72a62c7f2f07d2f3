// The colour kit's additions to UIColor (the category PFColor): conversions
// between a colour and its hex text, seven component readers and three HSB
// adjustments. The methods live on the runtime's UIColor class once the kit's
// classes are registered; this wrapper sends them.
//
//     UI::Color* orange = PFColor::colorWithHex("#FF8000"_ns);
//     NS::String* text = PFColor::hexFromColor(orange);      // "#FF8000"
//     CGFloat hue = PFColor::of(orange)->hue();
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>

class PFColor : public UI::Color {
public:
    // A typed view of any colour through the category's methods.
    static PFColor* of(const UI::Color* color) { return objc::cast<PFColor>(color); }

    // Skips the first character (the "#" of a colour string), reads a
    // hexadecimal number from there and takes red, green and blue from its
    // low three bytes; alpha is 1. Text without digits gives opaque black.
    static UI::Color* colorWithHex(const NS::String* hex) {
        return objc::send<UI::Color*>("UIColor"_cls, "colorWithHex:"_sel, hex);
    }
    // "#RRGGBB" in upper case, each component times 255 cut toward zero.
    static NS::String* hexFromColor(const UI::Color* color) {
        return objc::send<NS::String*>("UIColor"_cls, "hexFromColor:"_sel, color);
    }

    CGFloat alpha() const { return objc::send<CGFloat>(this, "alpha"_sel); }
    CGFloat red() const { return objc::send<CGFloat>(this, "red"_sel); }
    CGFloat green() const { return objc::send<CGFloat>(this, "green"_sel); }
    CGFloat blue() const { return objc::send<CGFloat>(this, "blue"_sel); }
    CGFloat hue() const { return objc::send<CGFloat>(this, "hue"_sel); }
    CGFloat saturation() const { return objc::send<CGFloat>(this, "saturation"_sel); }
    CGFloat brightness() const { return objc::send<CGFloat>(this, "brightness"_sel); }

    // Percentages: 10 lowers the saturation by a tenth of itself, and so on.
    UI::Color* desaturate(CGFloat percentage) const {
        return objc::send<UI::Color*>(this, "desaturate:"_sel, percentage);
    }
    UI::Color* lighten(CGFloat percentage) const { return objc::send<UI::Color*>(this, "lighten:"_sel, percentage); }
    UI::Color* darken(CGFloat percentage) const { return objc::send<UI::Color*>(this, "darken:"_sel, percentage); }
};

namespace colorpicker {

// Adds the category's methods to UIColor. Called by registerClasses().
void registerColorCategory();

// The arithmetic of the hex conversions, kept apart so that it can be checked
// in either width of the component type.
template <class Component>
constexpr Component componentFromByte(unsigned byte) {
    return static_cast<Component>(static_cast<double>(byte & 0xFFu) / 255.0);
}
// Components outside 0..1 are not limited (1.2 gives 306); only a product
// that no int can hold saturates, and one that is not a number gives 0.
template <class Component>
constexpr int byteFromComponent(Component component) {
    const Component scaled = component * static_cast<Component>(255);
    if (!(scaled == scaled)) return 0;
    if (scaled >= static_cast<Component>(2147483647.0)) return 2147483647;
    if (scaled <= static_cast<Component>(-2147483648.0)) return -2147483647 - 1;
    return static_cast<int>(scaled);
}

}  // namespace colorpicker
