// UIFont: a typeface at a size. The system font is Helvetica Neue (drawn by
// its metric-compatible substitute); names are taken in either of the
// phone's forms, "HelveticaNeue-Medium" or "Helvetica Neue Medium". A name
// that no installed face matches still gives a font, drawn by the nearest
// installed family, so text never disappears for want of a face.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSString.h>

namespace UI {

class Font : public NS::Object {
public:
    static Font* systemFontOfSize(CGFloat size) {
        return objc::send<Font*>("UIFont"_cls, "systemFontOfSize:"_sel, size);
    }
    static Font* boldSystemFontOfSize(CGFloat size) {
        return objc::send<Font*>("UIFont"_cls, "boldSystemFontOfSize:"_sel, size);
    }
    static Font* fontWithName(const NS::String* name, CGFloat size) {
        return objc::send<Font*>("UIFont"_cls, "fontWithName:size:"_sel, name, size);
    }

    // The same face at another size.
    Font* fontWithSize(CGFloat size) const { return objc::send<Font*>(this, "fontWithSize:"_sel, size); }

    // The PostScript-style name ("HelveticaNeue-Medium") and the family
    // ("Helvetica Neue").
    NS::String* fontName() const { return objc::send<NS::String*>(this, "fontName"_sel); }
    NS::String* familyName() const { return objc::send<NS::String*>(this, "familyName"_sel); }
    CGFloat pointSize() const { return objc::send<CGFloat>(this, "pointSize"_sel); }

    // Metrics of the face that draws the font, in points; the descender is
    // negative, as on the phone.
    CGFloat ascender() const { return objc::send<CGFloat>(this, "ascender"_sel); }
    CGFloat descender() const { return objc::send<CGFloat>(this, "descender"_sel); }
    CGFloat lineHeight() const { return objc::send<CGFloat>(this, "lineHeight"_sel); }
    CGFloat capHeight() const { return objc::send<CGFloat>(this, "capHeight"_sel); }
};

}  // namespace UI
