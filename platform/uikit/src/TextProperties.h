// The text properties that UILabel and UITextField share: the text, its
// font, colour and alignment, and the methods that read and set them.
// Internal to UIKit.
#pragma once

#include <Foundation/NSString.h>
#include <ObjCBridge/ClassBuilder.h>
#include <ObjCBridge/Ref.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIView.h>

#include "FontInternals.h"

namespace UI::detail {

struct TextProperties {
    Ref<NS::String> text;  // a copy of the string set
    Ref<Font> font;
    Ref<Color> textColor;
    NSTextAlignment alignment = NSTextAlignmentLeft;

    // The look of a new view, and of a nil font or colour: the system font
    // at 17 points, in black.
    static Font* defaultFont() { return objc::cast<Font>(systemFont(17, false)); }
    static Color* defaultColor() { return Color::blackColor(); }
    void setDefaultLook() {
        font = defaultFont();
        textColor = defaultColor();
    }
};

// What setting the text to nil leaves: nil (a label) or the empty string (a
// text field).
enum class NilText { StaysNil, Empty };

// The accessors of the properties that `propertiesOf` finds in an instance:
// text, font, textColor, textAlignment and their setters. A nil font or
// colour gives the default again; every setter redraws the view.
template <TextProperties& (*propertiesOf)(id), NilText nilText>
struct TextAccessors {
    static NS::String* text(id self, SEL) { return propertiesOf(self).text; }
    static void setText(id self, SEL, NS::String* text) {
        if (text == nullptr && nilText == NilText::Empty) text = ""_ns;
        propertiesOf(self).text = objc::copyOf(text);
        redraw(self);
    }
    static Font* font(id self, SEL) { return propertiesOf(self).font; }
    static void setFont(id self, SEL, Font* font) {
        propertiesOf(self).font = font != nullptr ? font : TextProperties::defaultFont();
        redraw(self);
    }
    static Color* textColor(id self, SEL) { return propertiesOf(self).textColor; }
    static void setTextColor(id self, SEL, Color* color) {
        propertiesOf(self).textColor = color != nullptr ? color : TextProperties::defaultColor();
        redraw(self);
    }
    static NSTextAlignment textAlignment(id self, SEL) { return propertiesOf(self).alignment; }
    static void setTextAlignment(id self, SEL, NSTextAlignment alignment) {
        propertiesOf(self).alignment = alignment;
        redraw(self);
    }

    static objc::ClassBuilder& addTo(objc::ClassBuilder& builder) {
        return builder.method("text", &text)
            .method("setText:", &setText)
            .method("font", &font)
            .method("setFont:", &setFont)
            .method("textColor", &textColor)
            .method("setTextColor:", &setTextColor)
            .method("textAlignment", &textAlignment)
            .method("setTextAlignment:", &setTextAlignment);
    }

private:
    static void redraw(id self) { objc::cast<View>(self)->setNeedsDisplay(); }
};

}  // namespace UI::detail
