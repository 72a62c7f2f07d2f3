#include "PFColorTransparentView.h"

#include <Foundation/Foundation.h>

namespace colorpicker {
namespace {

constexpr long kSquare = 20;

id initWithFrame(PFColorTransparentView* self, SEL _cmd, CGRect frame) {
    return objc::sendSuper<id>(self, "PFColorTransparentView"_cls, _cmd, frame);
}

// Squares are placed from the view's origin over rect's size. Their corners
// are counted in whole points and converted for each square, so no rounding
// builds up along a row; the last row and column may reach past the edge and
// are clipped.
void drawRect(PFColorTransparentView*, SEL, CGRect rect) {
    NS::Array* colors = NS::Array::arrayWithObjects({UI::Color::whiteColor(), UI::Color::grayColor()});
    const CGFloat w = rect.size.width;
    const CGFloat h = rect.size.height;
    if (!(h > 0)) return;
    for (long y = 0; y == 0 || static_cast<CGFloat>(y) < h; y += kSquare) {
        if (!(w > 0)) continue;
        // Rows start alternately white and grey.
        NSUInteger index = y % (2 * kSquare) == 0 ? 0 : 1;
        for (long x = 0; x == 0 || static_cast<CGFloat>(x) < w; x += kSquare) {
            objc::cast<UI::Color>(colors->objectAtIndex(index))->setFill();
            UIRectFill(CGRectMake(static_cast<CGFloat>(x), static_cast<CGFloat>(y), kSquare, kSquare));
            index = 1 - index;
        }
    }
}

}  // namespace

void registerTransparentView() {
    objc::ClassBuilder("PFColorTransparentView", "UIView"_cls)
        .method("initWithFrame:", &initWithFrame)
        .method("drawRect:", &drawRect)
        .build();
}

}  // namespace colorpicker
