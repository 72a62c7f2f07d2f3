// Touches and touch events. A UITouch is one finger on the screen: where it
// is, where it was, its phase, the view it went down on. A UIEvent carries
// the touches of one moment; touch methods receive them as a UITouchSet, an
// unordered set of touches.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSObject.h>

namespace NS {
class Array;
}

namespace UI {

class View;
class Window;

enum UITouchPhase : NSInteger {
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

class Touch : public NS::Object {
public:
    static Touch* alloc() { return objc::send<Touch*>("UITouch"_cls, "alloc"_sel); }
    // In the view's coordinates; a nil view means the window's.
    CGPoint locationInView(const View* view) const { return objc::send<CGPoint>(this, "locationInView:"_sel, view); }
    CGPoint previousLocationInView(const View* view) const {
        return objc::send<CGPoint>(this, "previousLocationInView:"_sel, view);
    }
    UITouchPhase phase() const { return objc::send<UITouchPhase>(this, "phase"_sel); }
    // The view the touch went down on (kept for the whole touch).
    View* view() const { return objc::send<View*>(this, "view"_sel); }
    Window* window() const { return objc::send<Window*>(this, "window"_sel); }
    NSUInteger tapCount() const { return objc::send<NSUInteger>(this, "tapCount"_sel); }
    double timestamp() const { return objc::send<double>(this, "timestamp"_sel); }
    NS::Array* gestureRecognizers() const { return objc::send<NS::Array*>(this, "gestureRecognizers"_sel); }
};

class TouchSet : public NS::Object {
public:
    static TouchSet* alloc() { return objc::send<TouchSet*>("UITouchSet"_cls, "alloc"_sel); }
    // Some touch of the set, nil for an empty set.
    Touch* anyObject() const { return objc::send<Touch*>(this, "anyObject"_sel); }
    NSUInteger count() const { return objc::send<NSUInteger>(this, "count"_sel); }
    BOOL containsObject(objc::AnyObject object) const {
        return objc::send<BOOL>(this, "containsObject:"_sel, object.get());
    }
    NS::Array* allObjects() const { return objc::send<NS::Array*>(this, "allObjects"_sel); }
};

enum UIEventType : NSInteger { UIEventTypeTouches = 0 };

class Event : public NS::Object {
public:
    static Event* alloc() { return objc::send<Event*>("UIEvent"_cls, "alloc"_sel); }
    TouchSet* allTouches() const { return objc::send<TouchSet*>(this, "allTouches"_sel); }
    // The touches that went down on the view.
    TouchSet* touchesForView(const View* view) const {
        return objc::send<TouchSet*>(this, "touchesForView:"_sel, view);
    }
    double timestamp() const { return objc::send<double>(this, "timestamp"_sel); }
    UIEventType type() const { return objc::send<UIEventType>(this, "type"_sel); }
};

}  // namespace UI

template <>
struct objc::Encoding<UI::UITouchPhase> {
    static constexpr const char* value = "l";
};
template <>
struct objc::Encoding<UI::UIEventType> {
    static constexpr const char* value = "l";
};
