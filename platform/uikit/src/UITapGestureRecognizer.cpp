#include <UIKit/UIGestureRecognizer.h>

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

void moveTo(id self, UIGestureRecognizerState state) { objc::send<void>(self, "setState:"_sel, state); }
bool possible(id self) {
    return objc::send<UIGestureRecognizerState>(self, "state"_sel) == UIGestureRecognizerStatePossible;
}

void began(id self, SEL, id, id) { objc::state<TapState>(self).start = detail::recognizerLocationInWindow(self); }

void moved(id self, SEL, id, id) {
    CGPoint start = objc::state<TapState>(self).start;
    CGPoint p = detail::recognizerLocationInWindow(self);
    if (possible(self) && std::hypot(p.x - start.x, p.y - start.y) >= kTapSlop) {
        moveTo(self, UIGestureRecognizerStateFailed);
    }
}

void ended(id self, SEL, id, id) {
    if (possible(self)) moveTo(self, UIGestureRecognizerStateRecognized);
}

void cancelled(id self, SEL, id, id) {
    if (possible(self)) moveTo(self, UIGestureRecognizerStateFailed);
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
