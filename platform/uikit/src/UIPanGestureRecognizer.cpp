#include <UIKit/UIGestureRecognizer.h>

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

PanState& stateOf(id self) { return objc::state<PanState>(self); }

UIGestureRecognizerState currentState(id self) { return objc::send<UIGestureRecognizerState>(self, "state"_sel); }
void moveTo(id self, UIGestureRecognizerState state) { objc::send<void>(self, "setState:"_sel, state); }

void began(id self, SEL, id, id) {
    PanState& s = stateOf(self);
    s = PanState{};
    s.start = s.previous = detail::recognizerLocationInWindow(self);
    s.previousTime = detail::recognizerTimestamp(self);
}

void moved(id self, SEL, id, id) {
    PanState& s = stateOf(self);
    CGPoint p = detail::recognizerLocationInWindow(self);
    double t = detail::recognizerTimestamp(self);
    double dt = t - s.previousTime;
    s.velocity = dt > 0 ? CGPointMake((p.x - s.previous.x) / dt, (p.y - s.previous.y) / dt) : CGPointZero;
    s.previous = p;
    s.previousTime = t;
    switch (currentState(self)) {
    case UIGestureRecognizerStatePossible:
        if (std::hypot(p.x - s.start.x, p.y - s.start.y) >= kPanHysteresis) moveTo(self, UIGestureRecognizerStateBegan);
        break;
    case UIGestureRecognizerStateBegan:
    case UIGestureRecognizerStateChanged: moveTo(self, UIGestureRecognizerStateChanged); break;
    default: break;
    }
}

bool active(id self) {
    UIGestureRecognizerState state = currentState(self);
    return state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged;
}

void ended(id self, SEL, id, id) {
    moveTo(self, active(self) ? UIGestureRecognizerStateEnded : UIGestureRecognizerStateFailed);
}

void cancelled(id self, SEL, id, id) {
    moveTo(self, active(self) ? UIGestureRecognizerStateCancelled : UIGestureRecognizerStateFailed);
}

// The views only translate, so a movement is the same vector in every view.
CGPoint translationInView(id self, SEL, id) {
    PanState& s = stateOf(self);
    CGPoint p = detail::recognizerLocationInWindow(self);
    return CGPointMake(p.x - s.start.x + s.offset.x, p.y - s.start.y + s.offset.y);
}

void setTranslation(id self, SEL, CGPoint translation, id) {
    PanState& s = stateOf(self);
    CGPoint p = detail::recognizerLocationInWindow(self);
    s.offset = CGPointMake(translation.x - (p.x - s.start.x), translation.y - (p.y - s.start.y));
}

CGPoint velocityInView(id self, SEL, id) { return stateOf(self).velocity; }

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
