#include <UIKit/UIGraphics.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITouch.h>

#include "ControlDrawing.h"
#include "UIKitRegistration.h"

#include <cmath>

namespace UI {
namespace {

struct SwitchState {
    bool on = false;
    Ref<Color> onTint;
    Ref<Color> thumbTint;
    // The tint given to the switch itself; nil shows the off border colour
    // rather than an inherited blue, as the system's switch does.
    Ref<Color> ownTint;
};

SwitchState& stateOf(objc::AnyObject self) { return objc::state<SwitchState>(self); }

CGRect fixedSize(CGRect frame) {
    frame.size = CGSizeMake(metrics::kSwitchWidth, metrics::kSwitchHeight);
    return frame;
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UISwitch"_cls, "initWithFrame:"_sel, fixedSize(frame));
    if (self != nil) objc::cast<Switch>(self)->setOpaque(NO);
    return self;
}

void setFrame(id self, SEL, CGRect frame) {
    objc::sendSuper<void>(self, "UISwitch"_cls, "setFrame:"_sel, fixedSize(frame));
}

CGSize sizeThatFits(id, SEL, CGSize) { return CGSizeMake(metrics::kSwitchWidth, metrics::kSwitchHeight); }

BOOL isOn(Switch* self, SEL) { return stateOf(self).on; }
void setOn(Switch* self, SEL, BOOL on) {
    stateOf(self).on = on;
    self->setNeedsDisplay();
}
void setOnAnimated(Switch* self, SEL, BOOL on, BOOL) { self->setOn(on); }

Color* onTintColor(Switch* self, SEL) { return stateOf(self).onTint; }
void setOnTintColor(Switch* self, SEL, Color* color) {
    stateOf(self).onTint = color;
    self->setNeedsDisplay();
}
Color* thumbTintColor(Switch* self, SEL) { return stateOf(self).thumbTint; }
void setThumbTintColor(Switch* self, SEL, Color* color) {
    stateOf(self).thumbTint = color;
    self->setNeedsDisplay();
}

void setTintColor(Switch* self, SEL, Color* color) {
    stateOf(self).ownTint = color;
    objc::sendSuper<void>(self, "UISwitch"_cls, "setTintColor:"_sel, color);
    self->setNeedsDisplay();
}

void drawRect(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    SwitchState& s = stateOf(self);
    const CGRect body = CGRectMake(0, 0, metrics::kSwitchWidth, metrics::kSwitchHeight);
    const CGFloat radius = body.size.height / 2;
    if (s.on) {
        detail::fillRoundedRect(c, body, radius,
                                s.onTint ? objc::asId(s.onTint.get()) : detail::color(metrics::kSystemGreen));
    } else {
        // The border is a ring: the body in the border colour with the white
        // inside cut over it.
        const CGFloat bw = metrics::kSwitchBorderWidth;
        detail::fillRoundedRect(c, body, radius,
                                s.ownTint ? objc::asId(s.ownTint.get()) : detail::color(metrics::kSwitchOffBorder));
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
    if (s.thumbTint) detail::componentsOf(objc::asId(s.thumbTint.get()), rgba);
    CGContextSetRGBFillColor(c, rgba[0], rgba[1], rgba[2], rgba[3]);
    CGContextAddArc(c, x + knob / 2, inset + knob / 2, knob / 2, 0, 2 * M_PI, 1);
    CGContextFillPath(c);
    CGContextRestoreGState(c);
}

// A tap toggles: the switch flips when the finger lifts over it.
void endTracking(Switch* self, SEL, Touch* touch, id) {
    CGPoint p = touch->locationInView(self);
    if (!self->pointInside(p, nullptr)) return;
    self->setOn(stateOf(self).on ? NO : YES, YES);
    self->sendActionsForControlEvents(UIControlEventValueChanged);
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
