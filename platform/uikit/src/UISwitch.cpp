#include <UIKit/UIGraphics.h>
#include <UIKit/UISwitch.h>

#include "ControlDrawing.h"
#include "UIKitRegistration.h"

#include <cmath>

namespace UI {
namespace {

struct SwitchState {
    bool on = false;
    id onTint = nil;     // retained
    id thumbTint = nil;  // retained
    // The tint given to the switch itself; nil shows the off border colour
    // rather than an inherited blue, as the system's switch does.
    id ownTint = nil;  // retained
    ~SwitchState() {
        objc::release(onTint);
        objc::release(thumbTint);
        objc::release(ownTint);
    }
};

SwitchState& stateOf(id self) { return objc::state<SwitchState>(self); }

void replace(id& slot, id value) {
    objc::retain(value);
    objc::release(slot);
    slot = value;
}

CGRect fixedSize(CGRect frame) {
    frame.size = CGSizeMake(metrics::kSwitchWidth, metrics::kSwitchHeight);
    return frame;
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UISwitch"_cls, "initWithFrame:"_sel, fixedSize(frame));
    if (self != nil) objc::send<void>(self, "setOpaque:"_sel, NO);
    return self;
}

void setFrame(id self, SEL, CGRect frame) {
    objc::sendSuper<void>(self, "UISwitch"_cls, "setFrame:"_sel, fixedSize(frame));
}

CGSize sizeThatFits(id, SEL, CGSize) { return CGSizeMake(metrics::kSwitchWidth, metrics::kSwitchHeight); }

BOOL isOn(id self, SEL) { return stateOf(self).on; }
void setOn(id self, SEL, BOOL on) {
    stateOf(self).on = on;
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
void setOnAnimated(id self, SEL, BOOL on, BOOL) { objc::send<void>(self, "setOn:"_sel, on); }

id onTintColor(id self, SEL) { return stateOf(self).onTint; }
void setOnTintColor(id self, SEL, id color) {
    replace(stateOf(self).onTint, color);
    objc::send<void>(self, "setNeedsDisplay"_sel);
}
id thumbTintColor(id self, SEL) { return stateOf(self).thumbTint; }
void setThumbTintColor(id self, SEL, id color) {
    replace(stateOf(self).thumbTint, color);
    objc::send<void>(self, "setNeedsDisplay"_sel);
}

void setTintColor(id self, SEL, id color) {
    replace(stateOf(self).ownTint, color);
    objc::sendSuper<void>(self, "UISwitch"_cls, "setTintColor:"_sel, color);
    objc::send<void>(self, "setNeedsDisplay"_sel);
}

void drawRect(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    SwitchState& s = stateOf(self);
    const CGRect body = CGRectMake(0, 0, metrics::kSwitchWidth, metrics::kSwitchHeight);
    const CGFloat radius = body.size.height / 2;
    if (s.on) {
        detail::fillRoundedRect(c, body, radius, s.onTint != nil ? s.onTint : detail::color(metrics::kSystemGreen));
    } else {
        // The border is a ring: the body in the border colour with the white
        // inside cut over it.
        const CGFloat bw = metrics::kSwitchBorderWidth;
        detail::fillRoundedRect(c, body, radius,
                                s.ownTint != nil ? s.ownTint : detail::color(metrics::kSwitchOffBorder));
        detail::fillRoundedRect(c, CGRectInset(body, bw, bw), radius - bw, objc::asId(Color::whiteColor()));
    }
    // The knob, with a soft shadow below it.
    const CGFloat inset = metrics::kSwitchKnobInset;
    const CGFloat knob = body.size.height - 2 * inset;
    const CGFloat x = s.on ? body.size.width - inset - knob : inset;
    CGContextSaveGState(c);
    CGColorRef shadow = CGColorCreateGenericGray(0, 0.3);
    CGContextSetShadowWithColor(c, CGSizeMake(0, 2), 3, shadow);
    CGColorRelease(shadow);
    CGFloat rgba[4] = {1, 1, 1, 1};
    if (s.thumbTint != nil) detail::componentsOf(s.thumbTint, rgba);
    CGContextSetRGBFillColor(c, rgba[0], rgba[1], rgba[2], rgba[3]);
    CGContextAddArc(c, x + knob / 2, inset + knob / 2, knob / 2, 0, 2 * M_PI, 1);
    CGContextFillPath(c);
    CGContextRestoreGState(c);
}

// A tap toggles: the switch flips when the finger lifts over it.
void endTracking(id self, SEL, id touch, id) {
    CGPoint p = objc::send<CGPoint>(touch, "locationInView:"_sel, self);
    if (!objc::send<BOOL>(self, "pointInside:withEvent:"_sel, p, nil)) return;
    objc::send<void>(self, "setOn:animated:"_sel, stateOf(self).on ? NO : YES, YES);
    objc::send<void>(self, "sendActionsForControlEvents:"_sel, UIControlEventValueChanged);
}

}  // namespace

void registerSwitch() {
    objc::ClassBuilder("UISwitch", "UIControl"_cls)
        .state<SwitchState>()
        .method("initWithFrame:", &initWithFrame)
        .method("setFrame:", &setFrame)
        .method("sizeThatFits:", &sizeThatFits)
        .method("isOn", &isOn)
        .method("setOn:", &setOn)
        .method("setOn:animated:", &setOnAnimated)
        .method("onTintColor", &onTintColor)
        .method("setOnTintColor:", &setOnTintColor)
        .method("thumbTintColor", &thumbTintColor)
        .method("setThumbTintColor:", &setThumbTintColor)
        .method("setTintColor:", &setTintColor)
        .method("drawRect:", &drawRect)
        .method("endTrackingWithTouch:withEvent:", &endTracking)
        .build();
}

}  // namespace UI
