// Making and updating touches, touch sets and events: what the input
// functions and the delivery need. Internal to UIKit.
#pragma once

#include <ObjCBridge/Ref.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITouch.h>

#include <vector>

namespace UI::detail {

// Per-touch bookkeeping of the delivery.
struct TouchDelivery {
    std::vector<Ref<GestureRecognizer>> recognizers;
    bool viewBegan = false;      // the view has had touchesBegan
    bool viewCancelled = false;  // a recogniser took the touch from the view
};

// A new touch at a point of the window, down on the view (may be nil).
Ref<Touch> createTouch(Window* window, View* view, CGPoint locationInWindow, double timestamp);
void moveTouch(Touch* touch, CGPoint locationInWindow, UITouchPhase phase, double timestamp);
CGPoint touchLocationInWindow(const Touch* touch);
TouchDelivery& deliveryOf(Touch* touch);

// A set of the touches (autoreleased).
TouchSet* touchSetWith(const std::vector<Touch*>& touches);
// An event holding one touch (autoreleased).
Event* eventWithTouch(Touch* touch, double timestamp);
// The touch of an event: nil for a nil event or one without touches.
Touch* touchOf(const Event* event);

}  // namespace UI::detail
