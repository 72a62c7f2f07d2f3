#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITouch.h>

#include "GestureInternals.h"
#include "UIKitRegistration.h"

#include <cmath>

namespace UI {
namespace {

// A finger that moves this far is not tapping.
constexpr CGFloat kTapSlop = 10;

struct TapState {
    CGPoint start = CGPointZero;
};

bool possible(const GestureRecognizer* self) { return self->state() == UIGestureRecognizerStatePossible; }

void began(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    objc::state<TapState>(self).start = detail::recognizerLocationInWindow(self);
}

void moved(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    CGPoint start = objc::state<TapState>(self).start;
    CGPoint p = detail::recognizerLocationInWindow(self);
    if (possible(self) && std::hypot(p.x - start.x, p.y - start.y) >= kTapSlop) {
        self->setState(UIGestureRecognizerStateFailed);
    }
}

void ended(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    if (possible(self)) self->setState(UIGestureRecognizerStateRecognized);
}

void cancelled(GestureRecognizer* self, SEL, TouchSet*, Event*) {
    if (possible(self)) self->setState(UIGestureRecognizerStateFailed);
}

}  // namespace

void registerTapGestureRecognizer() {
    objc::ClassBuilder("UITapGestureRecognizer", "UIGestureRecognizer"_cls)
        .state<TapState>()
        .method("touchesBegan:withEvent:", &began)
        .method("touchesMoved:withEvent:", &moved)
        .method("touchesEnded:withEvent:", &ended)
        .method("touchesCancelled:withEvent:", &cancelled)
        .build();
}

}  // namespace UI
