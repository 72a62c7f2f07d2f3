#include <CoreGraphics/CoreGraphics.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIView.h>

#include "ControlDrawing.h"
#include "StatusBar.h"

#include <cmath>

namespace UI::detail {
namespace {

// The phone's advertising time: every screenshot shows the same clock.
constexpr const char* kTime = "9:41 AM";
constexpr const char* kCarrier = "Carrier";

void drawRect(View* self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGRect bounds = self->bounds();
    CGCairoFont bold;
    bold.size = metrics::kStatusBarTextSize;
    bold.weight = 500;
    CGCairoFont regular = bold;
    regular.weight = 400;
    CGCairoFontMetrics m = CGCairoFontGetMetrics(bold);
    CGFloat baseline = std::round((bounds.size.height + m.capHeight) / 2);
    CGColorRef black = CGColorCreateGenericGray(0, 1);
    CGFloat timeWidth = CGCairoTextWidth(bold, kTime);
    CGCairoContextShowText(c, bold, kTime, CGPointMake(std::round((bounds.size.width - timeWidth) / 2), baseline),
                           black);
    CGCairoContextShowText(c, regular, kCarrier, CGPointMake(6, baseline), black);
    CGColorRelease(black);

    // A full battery: an outlined body with its cap.
    const CGFloat bodyW = 22, bodyH = 10;
    CGRect body =
        CGRectMake(bounds.size.width - 6 - 2 - bodyW, std::round((bounds.size.height - bodyH) / 2), bodyW, bodyH);
    CGContextSetRGBStrokeColor(c, 0, 0, 0, 1);
    CGContextSetLineWidth(c, 1);
    CGContextBeginPath(c);
    addRoundedRect(c, CGRectInset(body, 0.5, 0.5), 2);
    CGContextStrokePath(c);
    CGContextSetRGBFillColor(c, 0, 0, 0, 1);
    CGContextFillRect(c, CGRectInset(body, 2, 2));
    CGContextFillRect(c, CGRectMake(CGRectGetMaxX(body), body.origin.y + 3, 1.5, bodyH - 6));
}

}  // namespace

id makeStatusBar(CGFloat width) {
    auto* allocated = objc::cast<View>(objc::send<id>("UIStatusBar"_cls, "alloc"_sel));
    Ref<View> bar = objc::adopt(allocated->initWithFrame(CGRectMake(0, 0, width, metrics::kStatusBarHeight)));
    bar->setOpaque(NO);
    bar->setUserInteractionEnabled(NO);
    return objc::asId(objc::autoreleased(std::move(bar)));
}

void registerStatusBar() { objc::ClassBuilder("UIStatusBar", "UIView"_cls).method("drawRect:", &drawRect).build(); }

}  // namespace UI::detail
