#include <UIKit/UIGraphics.h>
#include <UIKit/UILabel.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "TextProperties.h"
#include "UIKitRegistration.h"

#include <cmath>
#include <limits>

namespace UI {
namespace {

struct LabelState {
    detail::TextProperties text;
    NSInteger numberOfLines = 1;
    NSLineBreakMode lineBreakMode = NSLineBreakByTruncatingTail;
    bool enabled = true;
};

LabelState& stateOf(id self) { return objc::state<LabelState>(self); }
detail::TextProperties& textOf(id self) { return stateOf(self).text; }
using TextAccessors = detail::TextAccessors<&textOf, detail::NilText::StaysNil>;

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UILabel"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    stateOf(self).text.setDefaultLook();
    auto* label = objc::cast<Label>(self);
    label->setUserInteractionEnabled(NO);
    label->setOpaque(NO);
    return self;
}

NSInteger numberOfLines(id self, SEL) { return stateOf(self).numberOfLines; }
void setNumberOfLines(id self, SEL, NSInteger lines) {
    stateOf(self).numberOfLines = lines < 0 ? 0 : lines;
    objc::cast<Label>(self)->setNeedsDisplay();
}

NSLineBreakMode lineBreakMode(id self, SEL) { return stateOf(self).lineBreakMode; }
void setLineBreakMode(id self, SEL, NSLineBreakMode mode) {
    stateOf(self).lineBreakMode = mode;
    objc::cast<Label>(self)->setNeedsDisplay();
}

BOOL isEnabled(id self, SEL) { return stateOf(self).enabled; }
void setEnabled(id self, SEL, BOOL enabled) {
    stateOf(self).enabled = enabled;
    objc::cast<Label>(self)->setNeedsDisplay();
}

int lineLimit(const LabelState& s) {
    return static_cast<int>(std::min<NSInteger>(s.numberOfLines, std::numeric_limits<int>::max()));
}

CGCairoTextLayout layoutFor(const LabelState& s, CGFloat width) {
    return CGCairoTextLayoutMake(detail::cairoFontOf(objc::asId(s.text.font.get())),
                                 detail::utf8(objc::asId(s.text.text.get())), width,
                                 static_cast<CGCairoLineBreakMode>(s.lineBreakMode), lineLimit(s));
}

// One line needs no width limit to be measured; more lines wrap to the
// width offered.
CGSize sizeThatFits(id self, SEL, CGSize size) {
    const LabelState& s = stateOf(self);
    if (s.text.text == nullptr || s.text.text->length() == 0) return CGSizeZero;
    CGFloat width = s.numberOfLines == 1 ? 0 : size.width;
    CGCairoTextLayout layout = layoutFor(s, width);
    return CGSizeMake(std::ceil(layout.size.width), std::ceil(layout.size.height));
}

void drawRect(id self, SEL, CGRect) {
    const LabelState& s = stateOf(self);
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr || s.text.text == nullptr) return;
    CGRect bounds = objc::cast<Label>(self)->bounds();
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
    detail::componentsOf(objc::asId(s.text.textColor.get()), rgba);
    if (!s.enabled) rgba[3] /= 3;
    CGColorRef color = CGColorCreateGenericRGB(rgba[0], rgba[1], rgba[2], rgba[3]);
    CGCairoContextShowTextInRect(c, detail::cairoFontOf(objc::asId(s.text.font.get())),
                                 detail::utf8(objc::asId(s.text.text.get())), rect,
                                 static_cast<CGCairoTextAlignment>(s.text.alignment),
                                 static_cast<CGCairoLineBreakMode>(s.lineBreakMode), limit, color);
    CGColorRelease(color);
}

}  // namespace

void registerLabel() {
    objc::ClassBuilder builder("UILabel", "UIView"_cls);
    builder.state<LabelState>().method("initWithFrame:", &initWithFrame);
    TextAccessors::addTo(builder)
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
