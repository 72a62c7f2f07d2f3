#include <UIKit/UIGraphics.h>
#include <UIKit/UITextField.h>
#include <UIKit/UITouch.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "TextProperties.h"
#include "UIKitRegistration.h"

#include <cmath>
#include <cstring>

namespace UI {
namespace {

struct TextFieldState {
    detail::TextProperties text;
    Ref<NS::String> placeholder;  // a copy of the string set
    id delegate = nil;            // not owned
    UITextBorderStyle borderStyle = UITextBorderStyleNone;
};

TextFieldState& stateOf(objc::AnyObject self) { return objc::state<TextFieldState>(self); }
detail::TextProperties& textOf(id self) { return stateOf(self).text; }
using TextAccessors = detail::TextAccessors<&textOf, detail::NilText::Empty>;

bool delegateAllows(TextField* self, SEL question) {
    id d = stateOf(self).delegate;
    if (d == nil || !objc::respondsTo(d, question)) return true;
    return objc::send<BOOL>(d, question, self);
}

void tellDelegate(TextField* self, SEL callback) {
    id d = stateOf(self).delegate;
    if (d != nil && objc::respondsTo(d, callback)) objc::send<void>(d, callback, self);
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UITextField"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    TextFieldState& s = stateOf(self);
    s.text.text = ""_ns;
    s.text.setDefaultLook();
    objc::cast<TextField>(self)->setOpaque(NO);
    return self;
}

NS::String* placeholder(TextField* self, SEL) { return stateOf(self).placeholder; }
void setPlaceholder(TextField* self, SEL, NS::String* text) {
    stateOf(self).placeholder = objc::copyOf(text);
    self->setNeedsDisplay();
}
UITextBorderStyle borderStyle(TextField* self, SEL) { return stateOf(self).borderStyle; }
void setBorderStyle(TextField* self, SEL, UITextBorderStyle style) {
    stateOf(self).borderStyle = style;
    self->setNeedsDisplay();
}
id delegate(TextField* self, SEL) { return stateOf(self).delegate; }
void setDelegate(TextField* self, SEL, id d) { stateOf(self).delegate = d; }

// --- editing ------------------------------------------------------------------

BOOL canBecomeFirstResponder(TextField* self, SEL) { return self->isEnabled(); }

BOOL isEditing(TextField* self, SEL) { return self->isFirstResponder(); }

BOOL becomeFirstResponder(TextField* self, SEL) {
    if (self->isFirstResponder()) return YES;
    if (!delegateAllows(self, "textFieldShouldBeginEditing:"_sel)) return NO;
    if (!objc::sendSuper<BOOL>(self, "UITextField"_cls, "becomeFirstResponder"_sel)) return NO;
    self->setNeedsDisplay();
    tellDelegate(self, "textFieldDidBeginEditing:"_sel);
    self->sendActionsForControlEvents(UIControlEventEditingDidBegin);
    return YES;
}

BOOL resignFirstResponder(TextField* self, SEL) {
    bool wasEditing = self->isFirstResponder();
    if (!objc::sendSuper<BOOL>(self, "UITextField"_cls, "resignFirstResponder"_sel)) return NO;
    if (wasEditing) {
        self->setNeedsDisplay();
        tellDelegate(self, "textFieldDidEndEditing:"_sel);
        self->sendActionsForControlEvents(UIControlEventEditingDidEnd);
    }
    return YES;
}

void endTracking(TextField* self, SEL, Touch* touch, id) {
    CGPoint p = touch->locationInView(self);
    if (self->pointInside(p, nullptr)) self->becomeFirstResponder();
}

BOOL hasText(TextField* self, SEL) { return stateOf(self).text.text->length() > 0; }

// Replaces the text as typing does: redrawn, and editing-changed sent.
void typeInto(TextField* self, NS::String* text) {
    stateOf(self).text.text = objc::copyOf(text);
    self->setNeedsDisplay();
    self->sendActionsForControlEvents(UIControlEventEditingChanged);
}

void insertText(TextField* self, SEL, NS::String* text) {
    if (text == nullptr) return;
    if (text->isEqualToString("\n"_ns)) {
        id d = stateOf(self).delegate;
        if (d != nil && objc::respondsTo(d, "textFieldShouldReturn:"_sel)) {
            objc::send<BOOL>(d, "textFieldShouldReturn:"_sel, self);
        }
        self->sendActionsForControlEvents(UIControlEventEditingDidEndOnExit);
        return;
    }
    typeInto(self, stateOf(self).text.text->stringByAppendingString(text));
}

// Deletes the last character, both halves of a surrogate pair at once.
void deleteBackward(TextField* self, SEL) {
    NS::String* text = stateOf(self).text.text;
    NSUInteger length = text->length();
    if (length == 0) return;
    NSUInteger cut = length - 1;
    unichar last = text->characterAtIndex(cut);
    if (cut > 0 && last >= 0xDC00 && last <= 0xDFFF) {
        unichar before = text->characterAtIndex(cut - 1);
        if (before >= 0xD800 && before <= 0xDBFF) --cut;
    }
    typeInto(self, text->substringToIndex(cut));
}

// --- drawing ------------------------------------------------------------------

void drawRect(TextField* self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    TextFieldState& s = stateOf(self);
    CGRect bounds = self->bounds();
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

    const CGCairoFont font = detail::cairoFontOf(objc::asId(s.text.font.get()));
    const bool empty = !hasText(self, nullptr);
    const std::string shown = detail::utf8(objc::asId(empty ? s.placeholder.get() : s.text.text.get()));
    const CGCairoFontMetrics m = CGCairoFontGetMetrics(font);
    const CGFloat inset = s.borderStyle == UITextBorderStyleNone ? 0 : metrics::kTextFieldInset;
    CGRect textRect =
        CGRectMake(bounds.origin.x + inset, bounds.origin.y + std::round((bounds.size.height - m.lineHeight) / 2),
                   std::fmax(bounds.size.width - 2 * inset, 0), m.lineHeight);
    CGFloat rgba[4];
    detail::componentsOf(empty ? detail::color(metrics::kPlaceholder) : objc::asId(s.text.textColor.get()), rgba);
    CGColorRef color = CGColorCreateGenericRGB(rgba[0], rgba[1], rgba[2], rgba[3]);
    CGSize drawn = CGSizeZero;
    if (!shown.empty()) {
        drawn =
            CGCairoContextShowTextInRect(c, font, shown, textRect, static_cast<CGCairoTextAlignment>(s.text.alignment),
                                         CGCairoLineBreakByTruncatingTail, 1, color);
    }
    CGColorRelease(color);

    if (self->isFirstResponder()) {
        CGFloat textWidth = empty ? 0 : std::fmin(drawn.width, textRect.size.width);
        CGFloat x = textRect.origin.x + textWidth + 1;
        if (s.text.alignment == NSTextAlignmentCenter)
            x = textRect.origin.x + (textRect.size.width + textWidth) / 2 + 1;
        if (s.text.alignment == NSTextAlignmentRight) x = CGRectGetMaxX(textRect) - 1;
        detail::fillRect(c, CGRectMake(x, textRect.origin.y + 1, 2, m.lineHeight - 2), objc::asId(self->tintColor()));
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
        } else if (Ref<NS::String> piece = objc::adopt(NS::String::alloc()->initWithBytes(
                       utf8 + i, static_cast<NSUInteger>(len), NSUTF8StringEncoding))) {
            field->insertText(piece);
        }
        i += len;
    }
}

}  // namespace textField

void registerTextField() {
    objc::ClassBuilder builder("UITextField", "UIControl"_cls);
    builder.state<TextFieldState>().method("initWithFrame:", &initWithFrame);
    TextAccessors::addTo(builder)
        .method("placeholder", &placeholder)
        .method("setPlaceholder:", &setPlaceholder)
        .method("borderStyle", &borderStyle)
        .method("setBorderStyle:", &setBorderStyle)
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
