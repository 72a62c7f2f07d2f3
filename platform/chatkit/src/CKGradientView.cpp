// CKGradientView: paints its colours as a vertical gradient over its gradient
// frame, clipped to the outline a balloon gives it.
#include "ChatKitInternals.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKGradientView.h>
#include <Foundation/NSArray.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIKitEncodings.h>

#include <optional>
#include <vector>

namespace chatkit {
namespace {

struct GradientState {
    Ref<NS::Array> colors;
    CGRect gradientFrame = CGRectZero;
    std::optional<BalloonShape> shape;
    Ref<UI::Color> overlay;
};

GradientState& stateOf(objc::AnyObject self) { return objc::state<GradientState>(self); }

id initWithFrame(id self, SEL cmd, CGRect frame) {
    self = objc::sendSuper<id>(self, "CKGradientView"_cls, cmd, frame);
    if (self == nil) return nil;
    auto* view = objc::cast<UI::View>(self);
    view->setOpaque(NO);
    view->setUserInteractionEnabled(NO);
    return self;
}

NS::Array* colors(id self, SEL) { return stateOf(self).colors.get(); }

void setColors(id self, SEL, NS::Array* colors) {
    stateOf(self).colors = colors ? objc::adopt(colors->copy()) : Ref<NS::Array>();
    objc::cast<UI::View>(self)->setNeedsDisplay();
}

CGRect gradientFrame(id self, SEL) { return stateOf(self).gradientFrame; }

void setGradientFrame(id self, SEL, CGRect frame) {
    GradientState& s = stateOf(self);
    if (CGRectEqualToRect(s.gradientFrame, frame)) return;
    s.gradientFrame = frame;
    objc::cast<UI::View>(self)->setNeedsDisplay();
}

void fillGradient(CGContextRef context, NS::Array* colors, CGRect frame) {
    std::vector<CGFloat> components;
    for (NSUInteger i = 0; i < colors->count(); ++i) {
        CGFloat r = 0, g = 0, b = 0, a = 0;
        objc::cast<UI::Color>(colors->objectAtIndex(i))->getRed(&r, &g, &b, &a);
        components.insert(components.end(), {r, g, b, a});
    }
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    if (colors->count() == 1) {
        CGContextSetRGBFillColor(context, components[0], components[1], components[2], components[3]);
        CGContextFillRect(context, CGContextGetClipBoundingBox(context));
    } else {
        CGGradientRef gradient =
            CGGradientCreateWithColorComponents(space, components.data(), nullptr, colors->count());
        CGContextDrawLinearGradient(context, gradient, CGPointMake(0, CGRectGetMinY(frame)),
                                    CGPointMake(0, CGRectGetMaxY(frame)),
                                    kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
        CGGradientRelease(gradient);
    }
    CGColorSpaceRelease(space);
}

void drawRect(id self, SEL, CGRect) {
    GradientState& s = stateOf(self);
    CGContextRef context = UIGraphicsGetCurrentContext();
    auto* view = objc::cast<UI::View>(self);
    // The colours are asked through the runtime, so a subclass's or a hook's
    // answer is what is painted.
    NS::Array* colors = objc::send<NS::Array*>(self, "colors"_sel);
    if (context == nullptr || colors == nullptr || colors->count() == 0) return;

    CGContextSaveGState(context);
    if (s.shape) {
        CGContextBeginPath(context);
        addBalloonPath(context, *s.shape);
        CGContextClip(context);
    }
    CGRect frame = CGRectIsEmpty(s.gradientFrame) ? view->bounds() : s.gradientFrame;
    fillGradient(context, colors, frame);
    if (s.overlay) {
        s.overlay->setFill();
        CGContextFillRect(context, view->bounds());
    }
    CGContextRestoreGState(context);
}

}  // namespace

void setGradientShape(UI::View* gradientView, const BalloonShape* shape) {
    if (gradientView == nullptr) return;
    GradientState& s = stateOf(gradientView);
    if (shape) {
        s.shape = *shape;
    } else {
        s.shape.reset();
    }
    gradientView->setNeedsDisplay();
}

void setGradientOverlay(UI::View* gradientView, UI::Color* overlay) {
    if (gradientView == nullptr) return;
    GradientState& s = stateOf(gradientView);
    if (s.overlay.get() == overlay) return;
    s.overlay = overlay;
    gradientView->setNeedsDisplay();
}

void registerGradientView() {
    objc::ClassBuilder("CKGradientView", "UIView"_cls)
        .state<GradientState>()
        .method("initWithFrame:", &initWithFrame)
        .method("colors", &colors)
        .method("setColors:", &setColors)
        .method("gradientFrame", &gradientFrame)
        .method("setGradientFrame:", &setGradientFrame)
        .method("drawRect:", &drawRect)
        .build();
}

}  // namespace chatkit
