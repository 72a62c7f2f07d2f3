#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>
#include <UIKit/UIWindow.h>

#include "GestureInternals.h"
#include "TouchInternals.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace UI {
namespace {

struct RecognizerState {
    std::vector<std::pair<id, SEL>> targets;  // targets not retained
    UIGestureRecognizerState state = UIGestureRecognizerStatePossible;
    View* view = nullptr;            // observed
    Window* window = nullptr;        // observed: the window of the current finger
    CGPoint location = CGPointZero;  // in the window
    double timestamp = 0;
    NSUInteger touches = 0;
    bool enabled = true;
    bool cancelsTouchesInView = true;
};

RecognizerState& stateOf(objc::AnyObject self) { return objc::state<RecognizerState>(self); }

id initWithTarget(id self, SEL, id target, SEL action) {
    self = objc::sendSuper<id>(self, "UIGestureRecognizer"_cls, "init"_sel);
    if (self != nil && target != nil && action != nullptr) stateOf(self).targets.emplace_back(target, action);
    return self;
}

void addTarget(id self, SEL, id target, SEL action) {
    auto& targets = stateOf(self).targets;
    if (target == nil || action == nullptr) return;
    for (auto& t : targets) {
        if (t.first == target && sel_isEqual(t.second, action)) return;
    }
    targets.emplace_back(target, action);
}

void removeTarget(id self, SEL, id target, SEL action) {
    auto& targets = stateOf(self).targets;
    std::erase_if(targets, [&](const std::pair<id, SEL>& t) {
        return (target == nil || t.first == target) && (action == nullptr || sel_isEqual(t.second, action));
    });
}

UIGestureRecognizerState state(id self, SEL) { return stateOf(self).state; }

void setState(GestureRecognizer* self, SEL, UIGestureRecognizerState state) {
    stateOf(self).state = state;
    if (state == UIGestureRecognizerStatePossible || state == UIGestureRecognizerStateFailed) return;
    // A copy: an action may add or remove targets.
    auto targets = stateOf(self).targets;
    const Ref<GestureRecognizer> keep = self;
    for (auto& [target, action] : targets) objc::send<void>(target, action, self);
}

View* view(id self, SEL) { return stateOf(self).view; }
BOOL isEnabled(id self, SEL) { return stateOf(self).enabled; }
void setEnabled(id self, SEL, BOOL e) { stateOf(self).enabled = e; }
BOOL cancelsTouchesInView(id self, SEL) { return stateOf(self).cancelsTouchesInView; }
void setCancelsTouchesInView(id self, SEL, BOOL c) { stateOf(self).cancelsTouchesInView = c; }

CGPoint locationInView(id self, SEL, View* view) {
    RecognizerState& s = stateOf(self);
    if (view == nullptr) return s.location;
    return view->convertPointFromView(s.location, s.window);
}

NSUInteger numberOfTouches(id self, SEL) { return stateOf(self).touches; }

void nothing(id, SEL) {}
void touchesNothing(id, SEL, id, id) {}

}  // namespace

namespace detail {

void setRecognizerView(GestureRecognizer* recognizer, View* view) { stateOf(recognizer).view = view; }

void setRecognizerTouch(GestureRecognizer* recognizer, const Touch* touch) {
    RecognizerState& s = stateOf(recognizer);
    s.window = touch->window();
    s.location = touchLocationInWindow(touch);
    s.timestamp = touch->timestamp();
    UITouchPhase phase = touch->phase();
    s.touches = phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled ? 0 : 1;
}

CGPoint recognizerLocationInWindow(const GestureRecognizer* recognizer) { return stateOf(recognizer).location; }
double recognizerTimestamp(const GestureRecognizer* recognizer) { return stateOf(recognizer).timestamp; }

void resetRecognizer(GestureRecognizer* recognizer) {
    stateOf(recognizer).state = UIGestureRecognizerStatePossible;
    stateOf(recognizer).touches = 0;
    recognizer->reset();
}

}  // namespace detail

void registerGestureRecognizer() {
    objc::ClassBuilder("UIGestureRecognizer", "NSObject"_cls)
        .state<RecognizerState>()
        .method("initWithTarget:action:", &initWithTarget)
        .method("addTarget:action:", &addTarget)
        .method("removeTarget:action:", &removeTarget)
        .method("state", &state)
        .method("setState:", &setState)
        .method("view", &view)
        .method("isEnabled", &isEnabled)
        .method("setEnabled:", &setEnabled)
        .method("cancelsTouchesInView", &cancelsTouchesInView)
        .method("setCancelsTouchesInView:", &setCancelsTouchesInView)
        .method("locationInView:", &locationInView)
        .method("numberOfTouches", &numberOfTouches)
        .method("reset", &nothing)
        .method("touchesBegan:withEvent:", &touchesNothing)
        .method("touchesMoved:withEvent:", &touchesNothing)
        .method("touchesEnded:withEvent:", &touchesNothing)
        .method("touchesCancelled:withEvent:", &touchesNothing)
        .build();
}

}  // namespace UI
