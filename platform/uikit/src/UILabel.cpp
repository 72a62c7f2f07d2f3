#include <UIKit/UIGraphics.h>
#include <UIKit/UILabel.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <cmath>
#include <limits>

namespace UI {
namespace {

struct LabelState {
    id text = nil;       // retained copy
    id font = nil;       // retained
    id textColor = nil;  // retained
    NSTextAlignment alignment = NSTextAlignmentLeft;
    NSInteger numberOfLines = 1;
    NSLineBreakMode lineBreakMode = NSLineBreakByTruncatingTail;
    bool enabled = true;
    ~LabelState() {
        objc::release(text);
        objc::release(font);
        objc::release(textColor);
    }
};

LabelState& stateOf(id self) { return objc::state<LabelState>(self); }

void replace(id& slot, id value) {
    objc::retain(value);
    objc::release(slot);
    slot = value;
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UILabel"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    LabelState& s = stateOf(self);
    s.font = objc::retain(detail::systemFont(17, false));
    s.textColor = objc::retain(objc::asId(Color::blackColor()));
    objc::send<void>(self, "setUserInteractionEnabled:"_sel, NO);
    objc::send<void>(self, "setOpaque:"_sel, NO);
    return self;
}

id text(id self, SEL) { return stateOf(self).text; }
void setText(id self, SEL, id text) {
    id copy = objc::send<id>(text, "copy"_sel);
    objc::release(stateOf(self).text);
    stateOf(self).text = copy;
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
void setTextAlignment(id self, SEL, NSTextAlignment alignment) {
    stateOf(self).alignment = alignment;
    objc::send<void>(self, "setNeedsDisplay"_sel);
}

NSInteger numberOfLines(id self, SEL) { return stateOf(self).numberOfLines; }
void setNumberOfLines(id self, SEL, NSInteger lines) {
    stateOf(self).numberOfLines = lines < 0 ? 0 : lines;
    objc::send<void>(self, "setNeedsDisplay"_sel);
}

NSLineBreakMode lineBreakMode(id self, SEL) { return stateOf(self).lineBreakMode; }
void setLineBreakMode(id self, SEL, NSLineBreakMode mode) {
    stateOf(self).lineBreakMode = mode;
    objc::send<void>(self, "setNeedsDisplay"_sel);
}

BOOL isEnabled(id self, SEL) { return stateOf(self).enabled; }
void setEnabled(id self, SEL, BOOL enabled) {
    stateOf(self).enabled = enabled;
    objc::send<void>(self, "setNeedsDisplay"_sel);
}

int lineLimit(const LabelState& s) {
    return static_cast<int>(std::min<NSInteger>(s.numberOfLines, std::numeric_limits<int>::max()));
}

CGCairoTextLayout layoutFor(const LabelState& s, CGFloat width) {
    return CGCairoTextLayoutMake(detail::cairoFontOf(s.font), detail::utf8(s.text), width,
                                 static_cast<CGCairoLineBreakMode>(s.lineBreakMode), lineLimit(s));
}

// One line needs no width limit to be measured; more lines wrap to the
// width offered.
CGSize sizeThatFits(id self, SEL, CGSize size) {
    const LabelState& s = stateOf(self);
    if (s.text == nil || objc::send<NSUInteger>(s.text, "length"_sel) == 0) return CGSizeZero;
    CGFloat width = s.numberOfLines == 1 ? 0 : size.width;
    CGCairoTextLayout layout = layoutFor(s, width);
    return CGSizeMake(std::ceil(layout.size.width), std::ceil(layout.size.height));
}

void drawRect(id self, SEL, CGRect) {
    const LabelState& s = stateOf(self);
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr || s.text == nil) return;
    CGRect bounds = objc::send<CGRect>(self, "bounds"_sel);
    CGCairoTextLayout layout = layoutFor(s, bounds.size.width);
    // Lines that do not fit the height are left out rather than clipped.
    CGFloat lineHeight = layout.metrics.lineHeight;
    int fitting = lineHeight > 0 ? static_cast<int>(std::floor((bounds.size.height + 0.5) / lineHeight)) : 0;
    int lines = static_cast<int>(layout.lines.size());
    int limit = lineLimit(s);
    if (fitting >= 1 && fitting < lines) limit = limit == 0 ? fitting : std::min(limit, fitting);
    CGFloat height = lineHeight * (limit == 0 ? lines : std::min(lines, limit));
    CGRect rect = CGRectMake(bounds.origin.x, bounds.origin.y + std::round((bounds.size.height - height) / 2),
                             bounds.size.width, height);
    CGFloat rgba[4];
    detail::componentsOf(s.textColor, rgba);
    if (!s.enabled) rgba[3] /= 3;
    CGColorRef color = CGColorCreateGenericRGB(rgba[0], rgba[1], rgba[2], rgba[3]);
    CGCairoContextShowTextInRect(c, detail::cairoFontOf(s.font), detail::utf8(s.text), rect,
                                 static_cast<CGCairoTextAlignment>(s.alignment),
                                 static_cast<CGCairoLineBreakMode>(s.lineBreakMode), limit, color);
    CGColorRelease(color);
}

}  // namespace

void registerLabel() {
    objc::ClassBuilder("UILabel", "UIView"_cls)
        .state<LabelState>()
        .method("initWithFrame:", &initWithFrame)
        .method("text", &text)
        .method("setText:", &setText)
        .method("font", &font)
        .method("setFont:", &setFont)
        .method("textColor", &textColor)
        .method("setTextColor:", &setTextColor)
        .method("textAlignment", &textAlignment)
        .method("setTextAlignment:", &setTextAlignment)
        .method("numberOfLines", &numberOfLines)
        .method("setNumberOfLines:", &setNumberOfLines)
        .method("lineBreakMode", &lineBreakMode)
        .method("setLineBreakMode:", &setLineBreakMode)
        .method("isEnabled", &isEnabled)
        .method("setEnabled:", &setEnabled)
        .method("sizeThatFits:", &sizeThatFits)
        .method("drawRect:", &drawRect)
        .build();
}

}  // namespace UI
