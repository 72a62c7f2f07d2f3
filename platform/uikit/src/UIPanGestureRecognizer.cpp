#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>

#include "GestureInternals.h"
#include "UIKitRegistration.h"

#include <cmath>

namespace UI {
namespace {

// How far the finger must move before a pan begins, in points.
constexpr CGFloat kPanHysteresis = 10;

struct PanState {
    CGPoint start = CGPointZero;   // where the finger went down, in the window
    CGPoint offset = CGPointZero;  // from setTranslation:inView:
    CGPoint previous = CGPointZero;
    double previousTime = 0;
    CGPoint velocity = CGPointZero;
};

PanState& stateOf(objc::AnyObject self) { return objc::state<PanState>(self); }

using detail::recognizerLocationInWindow;
using detail::recognizerTimestamp;

void began(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    PanState& s = stateOf(self);
    s = PanState{};
    s.start = s.previous = recognizerLocationInWindow(self);
    s.previousTime = recognizerTimestamp(self);
}

void moved(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    PanState& s = stateOf(self);
    CGPoint p = recognizerLocationInWindow(self);
    double t = recognizerTimestamp(self);
    double dt = t - s.previousTime;
    s.velocity = dt > 0 ? CGPointMake((p.x - s.previous.x) / dt, (p.y - s.previous.y) / dt) : CGPointZero;
    s.previous = p;
    s.previousTime = t;
    switch (self->state()) {
    case UIGestureRecognizerStatePossible:
        if (std::hypot(p.x - s.start.x, p.y - s.start.y) >= kPanHysteresis) {
            self->setState(UIGestureRecognizerStateBegan);
        }
        break;
    case UIGestureRecognizerStateBegan:
    case UIGestureRecognizerStateChanged: self->setState(UIGestureRecognizerStateChanged); break;
    default: break;
    }
}

bool active(const GestureRecognizer* self) {
    UIGestureRecognizerState state = self->state();
    return state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged;
}

void ended(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    self->setState(active(self) ? UIGestureRecognizerStateEnded : UIGestureRecognizerStateFailed);
}

void cancelled(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    self->setState(active(self) ? UIGestureRecognizerStateCancelled : UIGestureRecognizerStateFailed);
}

// The views only translate, so a movement is the same vector in every view.
CGPoint translationInView(GestureRecognizer* self, SEL, View*) {
    PanState& s = stateOf(self);
    CGPoint p = recognizerLocationInWindow(self);
    return CGPointMake(p.x - s.start.x + s.offset.x, p.y - s.start.y + s.offset.y);
}

void setTranslation(GestureRecognizer* self, SEL, CGPoint translation, View*) {
    PanState& s = stateOf(self);
    CGPoint p = recognizerLocationInWindow(self);
    s.offset = CGPointMake(translation.x - (p.x - s.start.x), translation.y - (p.y - s.start.y));
}

CGPoint velocityInView(id self, SEL, View*) { return stateOf(self).velocity; }

void reset(id self, SEL) { stateOf(self) = PanState{}; }

}  // namespace

void registerPanGestureRecognizer() {
    objc::ClassBuilder("UIPanGestureRecognizer", "UIGestureRecognizer"_cls)
        .state<PanState>()
        .method("touchesBegan:withEvent:", &began)
        .method("touchesMoved:withEvent:", &moved)
        .method("touchesEnded:withEvent:", &ended)
        .method("touchesCancelled:withEvent:", &cancelled)
        .method("translationInView:", &translationInView)
        .method("setTranslation:inView:", &setTranslation)
        .method("velocityInView:", &velocityInView)
        .method("reset", &reset)
        .build();
}

}  // namespace UI
