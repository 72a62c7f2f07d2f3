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

TouchState& stateOf(id touch) { return objc::state<TouchState>(touch); }

CGPoint inView(id touch, CGPoint windowPoint, id view) {
    if (view == nil) return windowPoint;
    return objc::send<CGPoint>(view, "convertPoint:fromView:"_sel, windowPoint, stateOf(touch).window.get());
}

CGPoint locationInView(id self, SEL, id view) { return inView(self, stateOf(self).location, view); }
CGPoint previousLocationInView(id self, SEL, id view) { return inView(self, stateOf(self).previous, view); }
UITouchPhase phase(id self, SEL) { return stateOf(self).phase; }
View* view(id self, SEL) { return stateOf(self).view; }
Window* window(id self, SEL) { return stateOf(self).window; }
NSUInteger tapCount(id, SEL) { return 1; }
double timestamp(id self, SEL) { return stateOf(self).timestamp; }

id gestureRecognizers(id self, SEL) {
    std::vector<id> list;
    for (GestureRecognizer* r : stateOf(self).delivery.recognizers) list.push_back(objc::asId(r));
    return objc::asId(NS::Array::arrayWithObjects(list.data(), list.size()));
}

}  // namespace

namespace detail {

id createTouch(id window, id view, CGPoint locationInWindow, double timestamp) {
    id touch = objc::send<id>(objc::send<id>("UITouch"_cls, "alloc"_sel), "init"_sel);
    TouchState& s = stateOf(touch);
    s.window = objc::cast<Window>(window);
    s.view = objc::cast<View>(view);
    s.location = s.previous = locationInWindow;
    s.timestamp = timestamp;
    return touch;
}

void moveTouch(id touch, CGPoint locationInWindow, UITouchPhase phase, double timestamp) {
    TouchState& s = stateOf(touch);
    s.previous = s.location;
    s.location = locationInWindow;
    s.phase = phase;
    s.timestamp = timestamp;
}

CGPoint touchLocationInWindow(id touch) { return stateOf(touch).location; }
TouchDelivery& deliveryOf(id touch) { return stateOf(touch).delivery; }

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
