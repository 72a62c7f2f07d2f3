#include <UIKit/UIGraphics.h>
#include <UIKit/UITextField.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <cmath>
#include <cstring>

namespace UI {
namespace {

struct TextFieldState {
    id text = nil;         // retained copy
    id placeholder = nil;  // retained copy
    id font = nil;         // retained
    id textColor = nil;    // retained
    id delegate = nil;     // not retained
    UITextBorderStyle borderStyle = UITextBorderStyleNone;
    NSTextAlignment alignment = NSTextAlignmentLeft;
    ~TextFieldState() {
        objc::release(text);
        objc::release(placeholder);
        objc::release(font);
        objc::release(textColor);
    }
};

TextFieldState& stateOf(id self) { return objc::state<TextFieldState>(self); }

void replace(id& slot, id value) {
    objc::retain(value);
    objc::release(slot);
    slot = value;
}

void replaceCopy(id& slot, id value) {
    id copy = objc::send<id>(value, "copy"_sel);
    objc::release(slot);
    slot = copy;
}

bool delegateAllows(id self, SEL question) {
    id d = stateOf(self).delegate;
    if (d == nil || !objc::respondsTo(d, question)) return true;
    return objc::send<BOOL>(d, question, self);
}

void tellDelegate(id self, SEL callback) {
    id d = stateOf(self).delegate;
    if (d != nil && objc::respondsTo(d, callback)) objc::send<void>(d, callback, self);
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UITextField"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    TextFieldState& s = stateOf(self);
    s.text = objc::retain(objc::asId(""_ns));
    s.font = objc::retain(detail::systemFont(17, false));
    s.textColor = objc::retain(objc::asId(Color::blackColor()));
    objc::send<void>(self, "setOpaque:"_sel, NO);
    return self;
}

id text(id self, SEL) { return stateOf(self).text; }
void setText(id self, SEL, id text) {
    replaceCopy(stateOf(self).text, text != nil ? text : objc::asId(""_ns));
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
id placeholder(id self, SEL) { return stateOf(self).placeholder; }
void setPlaceholder(id self, SEL, id text) {
    replaceCopy(stateOf(self).placeholder, text);
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
UITextBorderStyle borderStyle(id self, SEL) { return stateOf(self).borderStyle; }
void setBorderStyle(id self, SEL, UITextBorderStyle style) {
    stateOf(self).borderStyle = style;
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
id font(id self, SEL) { return stateOf(self).font; }
void setFont(id self, SEL, id font) {
    replace(stateOf(self).font, font != nil ? font : detail::systemFont(17, false));
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
id textColor(id self, SEL) { return stateOf(self).textColor; }
void setTextColor(id self, SEL, id color) {
    replace(stateOf(self).textColor, color != nil ? color : objc::asId(Color::blackColor()));
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
NSTextAlignment textAlignment(id self, SEL) { return stateOf(self).alignment; }
void setTextAlignment(id self, SEL, NSTextAlignment a) {
    stateOf(self).alignment = a;
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
id delegate(id self, SEL) { return stateOf(self).delegate; }
void setDelegate(id self, SEL, id d) { stateOf(self).delegate = d; }

// --- editing ------------------------------------------------------------------

BOOL canBecomeFirstResponder(id self, SEL) { return objc::send<BOOL>(self, "isEnabled"_sel); }

BOOL isEditing(id self, SEL) { return objc::send<BOOL>(self, "isFirstResponder"_sel); }

BOOL becomeFirstResponder(id self, SEL) {
    if (objc::send<BOOL>(self, "isFirstResponder"_sel)) return YES;
    if (!delegateAllows(self, "textFieldShouldBeginEditing:"_sel)) return NO;
    if (!objc::sendSuper<BOOL>(self, "UITextField"_cls, "becomeFirstResponder"_sel)) return NO;
    objc::send<void>(self, "setNeedsDisplay"_sel);
    tellDelegate(self, "textFieldDidBeginEditing:"_sel);
    objc::send<void>(self, "sendActionsForControlEvents:"_sel, UIControlEventEditingDidBegin);
    return YES;
}

BOOL resignFirstResponder(id self, SEL) {
    bool wasEditing = objc::send<BOOL>(self, "isFirstResponder"_sel);
    if (!objc::sendSuper<BOOL>(self, "UITextField"_cls, "resignFirstResponder"_sel)) return NO;
    if (wasEditing) {
        objc::send<void>(self, "setNeedsDisplay"_sel);
        tellDelegate(self, "textFieldDidEndEditing:"_sel);
        objc::send<void>(self, "sendActionsForControlEvents:"_sel, UIControlEventEditingDidEnd);
    }
    return YES;
}

void endTracking(id self, SEL, id touch, id) {
    CGPoint p = objc::send<CGPoint>(touch, "locationInView:"_sel, self);
    if (objc::send<BOOL>(self, "pointInside:withEvent:"_sel, p, nil)) {
        objc::send<BOOL>(self, "becomeFirstResponder"_sel);
    }
}

BOOL hasText(id self, SEL) { return objc::send<NSUInteger>(stateOf(self).text, "length"_sel) > 0; }

void insertText(id self, SEL, id text) {
    if (text == nil) return;
    if (objc::send<BOOL>(text, "isEqualToString:"_sel, "\n"_ns)) {
        id d = stateOf(self).delegate;
        if (d != nil && objc::respondsTo(d, "textFieldShouldReturn:"_sel)) {
            objc::send<BOOL>(d, "textFieldShouldReturn:"_sel, self);
        }
        objc::send<void>(self, "sendActionsForControlEvents:"_sel, UIControlEventEditingDidEndOnExit);
        return;
    }
    id joined = objc::send<id>(stateOf(self).text, "stringByAppendingString:"_sel, text);
    replaceCopy(stateOf(self).text, joined);
    objc::send<void>(self, "setNeedsDisplay"_sel);
    objc::send<void>(self, "sendActionsForControlEvents:"_sel, UIControlEventEditingChanged);
}

// Deletes the last character, both halves of a surrogate pair at once.
void deleteBackward(id self, SEL) {
    auto* text = objc::cast<NS::String>(stateOf(self).text);
    NSUInteger length = text->length();
    if (length == 0) return;
    NSUInteger cut = length - 1;
    unichar last = text->characterAtIndex(cut);
    if (cut > 0 && last >= 0xDC00 && last <= 0xDFFF) {
        unichar before = text->characterAtIndex(cut - 1);
        if (before >= 0xD800 && before <= 0xDBFF) --cut;
    }
    replaceCopy(stateOf(self).text, objc::asId(text->substringToIndex(cut)));
    objc::send<void>(self, "setNeedsDisplay"_sel);
    objc::send<void>(self, "sendActionsForControlEvents:"_sel, UIControlEventEditingChanged);
}

// --- drawing ------------------------------------------------------------------

void drawRect(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    TextFieldState& s = stateOf(self);
    CGRect bounds = objc::send<CGRect>(self, "bounds"_sel);
    switch (s.borderStyle) {
    case UITextBorderStyleRoundedRect: {
        const CGFloat hairline = 0.5;
        detail::fillRoundedRect(c, bounds, metrics::kTextFieldCornerRadius, detail::color(metrics::kTextFieldBorder));
        detail::fillRoundedRect(c, CGRectInset(bounds, hairline, hairline), metrics::kTextFieldCornerRadius - hairline,
                                objc::asId(Color::whiteColor()));
        break;
    }
    case UITextBorderStyleLine:
    case UITextBorderStyleBezel:
        detail::fillRect(c, bounds, objc::asId(Color::blackColor()));
        detail::fillRect(c, CGRectInset(bounds, 1, 1), objc::asId(Color::whiteColor()));
        break;
    default: break;
    }

    const CGCairoFont font = detail::cairoFontOf(s.font);
    const bool empty = !hasText(self, nullptr);
    const std::string shown = detail::utf8(empty ? s.placeholder : s.text);
    const CGCairoFontMetrics m = CGCairoFontGetMetrics(font);
    const CGFloat inset = s.borderStyle == UITextBorderStyleNone ? 0 : metrics::kTextFieldInset;
    CGRect textRect =
        CGRectMake(bounds.origin.x + inset, bounds.origin.y + std::round((bounds.size.height - m.lineHeight) / 2),
                   std::fmax(bounds.size.width - 2 * inset, 0), m.lineHeight);
    CGFloat rgba[4];
    detail::componentsOf(empty ? detail::color(metrics::kPlaceholder) : s.textColor, rgba);
    CGColorRef color = CGColorCreateGenericRGB(rgba[0], rgba[1], rgba[2], rgba[3]);
    CGSize drawn = CGSizeZero;
    if (!shown.empty()) {
        drawn = CGCairoContextShowTextInRect(c, font, shown, textRect, static_cast<CGCairoTextAlignment>(s.alignment),
                                             CGCairoLineBreakByTruncatingTail, 1, color);
    }
    CGColorRelease(color);

    if (objc::send<BOOL>(self, "isFirstResponder"_sel)) {
        CGFloat textWidth = empty ? 0 : std::fmin(drawn.width, textRect.size.width);
        CGFloat x = textRect.origin.x + textWidth + 1;
        if (s.alignment == NSTextAlignmentCenter) x = textRect.origin.x + (textRect.size.width + textWidth) / 2 + 1;
        if (s.alignment == NSTextAlignmentRight) x = CGRectGetMaxX(textRect) - 1;
        detail::fillRect(c, CGRectMake(x, textRect.origin.y + 1, 2, m.lineHeight - 2),
                         objc::send<id>(self, "tintColor"_sel));
    }
}

}  // namespace

namespace textField {

void typeText(TextField* field, const char* utf8) {
    if (field == nullptr || utf8 == nullptr) return;
    if (!field->isFirstResponder() && !field->becomeFirstResponder()) return;
    const std::size_t n = std::strlen(utf8);
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
        if (i + len > n) len = n - i;
        if (b == '\b') {
            field->deleteBackward();
        } else if (auto* piece = objc::cast<NS::String>(objc::send<id>(
                       objc::send<id>("NSString"_cls, "alloc"_sel), "initWithBytes:length:encoding:"_sel,
                       static_cast<const void*>(utf8 + i), static_cast<NSUInteger>(len), NSUTF8StringEncoding))) {
            field->insertText(piece);
            piece->release();
        }
        i += len;
    }
}

}  // namespace textField

void registerTextField() {
    objc::ClassBuilder("UITextField", "UIControl"_cls)
        .state<TextFieldState>()
        .method("initWithFrame:", &initWithFrame)
        .method("text", &text)
        .method("setText:", &setText)
        .method("placeholder", &placeholder)
        .method("setPlaceholder:", &setPlaceholder)
        .method("borderStyle", &borderStyle)
        .method("setBorderStyle:", &setBorderStyle)
        .method("font", &font)
        .method("setFont:", &setFont)
        .method("textColor", &textColor)
        .method("setTextColor:", &setTextColor)
        .method("textAlignment", &textAlignment)
        .method("setTextAlignment:", &setTextAlignment)
        .method("delegate", &delegate)
        .method("setDelegate:", &setDelegate)
        .method("canBecomeFirstResponder", &canBecomeFirstResponder)
        .method("becomeFirstResponder", &becomeFirstResponder)
        .method("resignFirstResponder", &resignFirstResponder)
        .method("isEditing", &isEditing)
        .method("endTrackingWithTouch:withEvent:", &endTracking)
        .method("hasText", &hasText)
        .method("insertText:", &insertText)
        .method("deleteBackward", &deleteBackward)
        .method("drawRect:", &drawRect)
        .build();
}

}  // namespace UI
