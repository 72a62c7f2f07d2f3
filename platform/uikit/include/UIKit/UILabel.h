// UILabel: text drawn in one font and colour, aligned within the label's
// width and centred vertically in its height. One line by default (the text
// is cut with an ellipsis when too wide); numberOfLines 0 wraps without a
// limit. Labels take no touches, so a touch falls through to the view
// beneath (a table cell, a button).
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIView.h>

namespace UI {

using NSTextAlignment = NSInteger;
inline constexpr NSTextAlignment NSTextAlignmentLeft = 0;
inline constexpr NSTextAlignment NSTextAlignmentCenter = 1;
inline constexpr NSTextAlignment NSTextAlignmentRight = 2;

using NSLineBreakMode = NSInteger;
inline constexpr NSLineBreakMode NSLineBreakByWordWrapping = 0;
inline constexpr NSLineBreakMode NSLineBreakByCharWrapping = 1;
inline constexpr NSLineBreakMode NSLineBreakByClipping = 2;
inline constexpr NSLineBreakMode NSLineBreakByTruncatingHead = 3;
inline constexpr NSLineBreakMode NSLineBreakByTruncatingTail = 4;
inline constexpr NSLineBreakMode NSLineBreakByTruncatingMiddle = 5;

class Label : public View {
public:
    static Label* alloc() { return objc::send<Label*>("UILabel"_cls, "alloc"_sel); }
    Label* initWithFrame(CGRect frame) { return objc::send<Label*>(this, "initWithFrame:"_sel, frame); }

    NS::String* text() const { return objc::send<NS::String*>(this, "text"_sel); }
    void setText(const NS::String* text) { objc::send<void>(this, "setText:"_sel, text); }
    // nil sets the system font at 17 points.
    Font* font() const { return objc::send<Font*>(this, "font"_sel); }
    void setFont(Font* font) { objc::send<void>(this, "setFont:"_sel, font); }
    // nil sets black.
    Color* textColor() const { return objc::send<Color*>(this, "textColor"_sel); }
    void setTextColor(Color* color) { objc::send<void>(this, "setTextColor:"_sel, color); }
    NSTextAlignment textAlignment() const { return objc::send<NSTextAlignment>(this, "textAlignment"_sel); }
    void setTextAlignment(NSTextAlignment alignment) { objc::send<void>(this, "setTextAlignment:"_sel, alignment); }
    NSInteger numberOfLines() const { return objc::send<NSInteger>(this, "numberOfLines"_sel); }
    void setNumberOfLines(NSInteger lines) { objc::send<void>(this, "setNumberOfLines:"_sel, lines); }
    NSLineBreakMode lineBreakMode() const { return objc::send<NSLineBreakMode>(this, "lineBreakMode"_sel); }
    void setLineBreakMode(NSLineBreakMode mode) { objc::send<void>(this, "setLineBreakMode:"_sel, mode); }
    BOOL isEnabled() const { return objc::send<BOOL>(this, "isEnabled"_sel); }
    // A disabled label draws its text at a third of its alpha.
    void setEnabled(BOOL enabled) { objc::send<void>(this, "setEnabled:"_sel, enabled); }
};

}  // namespace UI
