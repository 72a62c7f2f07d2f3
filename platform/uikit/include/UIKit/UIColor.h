// UIColor: an immutable colour, either in the RGB model or a grey level, with
// components of type CGFloat (double). A colour made from hue, saturation and
// brightness is stored in the RGB model.
//
// What the conversions answer, for every colour:
// - getRed:green:blue:alpha: succeeds for RGB colours and for greys (a grey
//   of level w answers w, w, w).
// - getHue:saturation:brightness:alpha: succeeds for both as well (a grey
//   answers hue 0, saturation 0, brightness w).
// - getWhite:alpha: succeeds for both: a grey answers its level, an RGB colour
//   its luma (0.299 r + 0.587 g + 0.114 b). Every conversion gives the colour's
//   exact alpha, so code that asks any model for the alpha alone gets it.
// - isEqual: compares the RGBA values, whatever the model: opaque white made
//   as a grey equals opaque white made from RGB.
// The CGColor of every colour is in the device RGB colour space with four
// components (red, green, blue, alpha), so reading the first three components
// of any colour's CGColor stays inside the component array.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSObject.h>
#include <UIKit/UIKitEncodings.h>

namespace UI {

class Color : public NS::Object {
public:
    static Color* alloc() { return objc::send<Color*>("UIColor"_cls, "alloc"_sel); }

    // Red, green and blue are kept as given; alpha is limited to 0..1 (one
    // that is not a number counts as 0), here and in initWithWhite.
    Color* initWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
        return objc::send<Color*>(this, "initWithRed:green:blue:alpha:"_sel, red, green, blue, alpha);
    }
    // Each component is limited to 0..1; a component that is not a number
    // counts as 0.
    Color* initWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha) {
        return objc::send<Color*>(this, "initWithHue:saturation:brightness:alpha:"_sel, hue, saturation, brightness,
                                  alpha);
    }
    Color* initWithWhite(CGFloat white, CGFloat alpha) {
        return objc::send<Color*>(this, "initWithWhite:alpha:"_sel, white, alpha);
    }
    // A colour with the components of a Core Graphics colour (RGB or grey).
    Color* initWithCGColor(CGColorRef color) { return objc::send<Color*>(this, "initWithCGColor:"_sel, color); }

    static Color* colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
        return objc::send<Color*>("UIColor"_cls, "colorWithRed:green:blue:alpha:"_sel, red, green, blue, alpha);
    }
    static Color* colorWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha) {
        return objc::send<Color*>("UIColor"_cls, "colorWithHue:saturation:brightness:alpha:"_sel, hue, saturation,
                                  brightness, alpha);
    }
    static Color* colorWithWhite(CGFloat white, CGFloat alpha) {
        return objc::send<Color*>("UIColor"_cls, "colorWithWhite:alpha:"_sel, white, alpha);
    }
    static Color* colorWithCGColor(CGColorRef color) {
        return objc::send<Color*>("UIColor"_cls, "colorWithCGColor:"_sel, color);
    }

    // The named colours. Red, orange, yellow, green, blue, purple, cyan,
    // magenta and brown are RGB colours; the others are greys.
    static Color* blackColor() { return objc::send<Color*>("UIColor"_cls, "blackColor"_sel); }
    static Color* darkGrayColor() { return objc::send<Color*>("UIColor"_cls, "darkGrayColor"_sel); }
    static Color* lightGrayColor() { return objc::send<Color*>("UIColor"_cls, "lightGrayColor"_sel); }
    static Color* whiteColor() { return objc::send<Color*>("UIColor"_cls, "whiteColor"_sel); }
    static Color* grayColor() { return objc::send<Color*>("UIColor"_cls, "grayColor"_sel); }
    static Color* redColor() { return objc::send<Color*>("UIColor"_cls, "redColor"_sel); }
    static Color* greenColor() { return objc::send<Color*>("UIColor"_cls, "greenColor"_sel); }
    static Color* blueColor() { return objc::send<Color*>("UIColor"_cls, "blueColor"_sel); }
    static Color* cyanColor() { return objc::send<Color*>("UIColor"_cls, "cyanColor"_sel); }
    static Color* yellowColor() { return objc::send<Color*>("UIColor"_cls, "yellowColor"_sel); }
    static Color* magentaColor() { return objc::send<Color*>("UIColor"_cls, "magentaColor"_sel); }
    static Color* orangeColor() { return objc::send<Color*>("UIColor"_cls, "orangeColor"_sel); }
    static Color* purpleColor() { return objc::send<Color*>("UIColor"_cls, "purpleColor"_sel); }
    static Color* brownColor() { return objc::send<Color*>("UIColor"_cls, "brownColor"_sel); }
    static Color* clearColor() { return objc::send<Color*>("UIColor"_cls, "clearColor"_sel); }

    // Conversions: YES when the colour converts (see above). Any out-pointer
    // may be null.
    BOOL getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const {
        return objc::send<BOOL>(this, "getRed:green:blue:alpha:"_sel, red, green, blue, alpha);
    }
    BOOL getHue(CGFloat* hue, CGFloat* saturation, CGFloat* brightness, CGFloat* alpha) const {
        return objc::send<BOOL>(this, "getHue:saturation:brightness:alpha:"_sel, hue, saturation, brightness, alpha);
    }
    BOOL getWhite(CGFloat* white, CGFloat* alpha) const {
        return objc::send<BOOL>(this, "getWhite:alpha:"_sel, white, alpha);
    }

    // The same colour with another alpha (in the same model).
    Color* colorWithAlphaComponent(CGFloat alpha) const {
        return objc::send<Color*>(this, "colorWithAlphaComponent:"_sel, alpha);
    }

    // The colour as a Core Graphics colour, owned by the colour: valid as long
    // as the colour lives (retain it to keep it longer).
    CGColorRef CGColor() const { return objc::send<CGColorRef>(this, "CGColor"_sel); }

    // Make the colour the fill (or stroke, or both) colour of the current
    // drawing context (UIGraphicsGetCurrentContext); nothing without one.
    void setFill() const { objc::send<void>(this, "setFill"_sel); }
    void setStroke() const { objc::send<void>(this, "setStroke"_sel); }
    void set() const { objc::send<void>(this, "set"_sel); }
};

}  // namespace UI
