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

// A new touch (+1) at a point of the window, down on the view (may be nil).
id createTouch(id window, id view, CGPoint locationInWindow, double timestamp);
void moveTouch(id touch, CGPoint locationInWindow, UITouchPhase phase, double timestamp);
CGPoint touchLocationInWindow(id touch);
TouchDelivery& deliveryOf(id touch);

// A set of the objects (autoreleased).
id touchSetWith(const std::vector<id>& objects);
// An event holding one touch (autoreleased).
id eventWithTouch(id touch, double timestamp);

}  // namespace UI::detail
