#include <Foundation/NSArray.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>
#include <UIKit/UIWindow.h>

#include "TouchInternals.h"
#include "UIKitRegistration.h"

namespace UI {
namespace {

struct TouchState {
    Ref<Window> window;
    Ref<View> view;
    CGPoint location = CGPointZero;  // in the window
    CGPoint previous = CGPointZero;
    UITouchPhase phase = UITouchPhaseBegan;
    double timestamp = 0;
    detail::TouchDelivery delivery;
};

TouchState& stateOf(objc::AnyObject touch) { return objc::state<TouchState>(touch); }

CGPoint inView(const Touch* touch, CGPoint windowPoint, const View* view) {
    if (view == nullptr) return windowPoint;
    return view->convertPointFromView(windowPoint, stateOf(touch).window);
}

CGPoint locationInView(Touch* self, SEL, View* view) { return inView(self, stateOf(self).location, view); }
CGPoint previousLocationInView(Touch* self, SEL, View* view) { return inView(self, stateOf(self).previous, view); }
UITouchPhase phase(id self, SEL) { return stateOf(self).phase; }
View* view(id self, SEL) { return stateOf(self).view; }
Window* window(id self, SEL) { return stateOf(self).window; }
NSUInteger tapCount(id, SEL) { return 1; }
double timestamp(id self, SEL) { return stateOf(self).timestamp; }

NS::Array* gestureRecognizers(id self, SEL) {
    std::vector<id> list;
    for (GestureRecognizer* r : stateOf(self).delivery.recognizers) list.push_back(objc::asId(r));
    return NS::Array::arrayWithObjects(list.data(), list.size());
}

}  // namespace

namespace detail {

Ref<Touch> createTouch(Window* window, View* view, CGPoint locationInWindow, double timestamp) {
    Ref<Touch> touch = objc::adopt(objc::cast<Touch>(Touch::alloc()->init()));
    TouchState& s = stateOf(touch);
    s.window = window;
    s.view = view;
    s.location = s.previous = locationInWindow;
    s.timestamp = timestamp;
    return touch;
}

void moveTouch(Touch* touch, CGPoint locationInWindow, UITouchPhase phase, double timestamp) {
    TouchState& s = stateOf(touch);
    s.previous = s.location;
    s.location = locationInWindow;
    s.phase = phase;
    s.timestamp = timestamp;
}

CGPoint touchLocationInWindow(const Touch* touch) { return stateOf(touch).location; }
TouchDelivery& deliveryOf(Touch* touch) { return stateOf(touch).delivery; }

}  // namespace detail

void registerTouch() {
    objc::ClassBuilder("UITouch", "NSObject"_cls)
        .state<TouchState>()
        .method("locationInView:", &locationInView)
        .method("previousLocationInView:", &previousLocationInView)
        .method("phase", &phase)
        .method("view", &view)
        .method("window", &window)
        .method("tapCount", &tapCount)
        .method("timestamp", &timestamp)
        .method("gestureRecognizers", &gestureRecognizers)
        .build();
}

}  // namespace UI
