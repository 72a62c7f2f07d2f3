// Gesture recognisers. A recogniser attached to a view sees the touches that
// go down on that view or any of its subviews before the touched view does.
// Each runs its own state machine: recognisers on one view recognise side by
// side, none excludes another. When a recogniser moves to Began, Changed,
// Ended (Recognized) or Cancelled, it sends its action to each target with
// itself as the argument. Once one that cancels touches in its view
// (cancelsTouchesInView, YES by default) has recognised, the touched view
// gets touchesCancelled:withEvent: and no more touches of that finger. When
// the finger lifts, every recogniser is reset to Possible.
//
// UIPanGestureRecognizer begins once the finger has moved 10 points away from
// where it went down (a scripted drag begins on the first intermediate point
// that far away), changes at every further move and ends when the finger
// lifts; a touch that never moves that far fails the pan and is delivered to
// the view as a tap. Its translation is the finger's movement since it went
// down, less any translation set with setTranslation:inView:.
// UITapGestureRecognizer recognises a single tap: it fails when the finger
// moves 10 points or more before lifting.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSObject.h>

namespace UI {

class Event;
class TouchSet;
class View;

enum UIGestureRecognizerState : NSInteger {
    UIGestureRecognizerStatePossible = 0,
    UIGestureRecognizerStateBegan = 1,
    UIGestureRecognizerStateChanged = 2,
    UIGestureRecognizerStateEnded = 3,
    UIGestureRecognizerStateCancelled = 4,
    UIGestureRecognizerStateFailed = 5,
    UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

class GestureRecognizer : public NS::Object {
public:
    static GestureRecognizer* alloc() { return objc::send<GestureRecognizer*>("UIGestureRecognizer"_cls, "alloc"_sel); }
    // The target is not retained.
    GestureRecognizer* initWithTarget(objc::AnyObject target, SEL action) {
        return objc::send<GestureRecognizer*>(this, "initWithTarget:action:"_sel, target.get(), action);
    }
    void addTarget(objc::AnyObject target, SEL action) {
        objc::send<void>(this, "addTarget:action:"_sel, target.get(), action);
    }
    void removeTarget(objc::AnyObject target, SEL action) {
        objc::send<void>(this, "removeTarget:action:"_sel, target.get(), action);
    }

    UIGestureRecognizerState state() const { return objc::send<UIGestureRecognizerState>(this, "state"_sel); }
    // For subclasses: moving to an action state sends the actions.
    void setState(UIGestureRecognizerState state) { objc::send<void>(this, "setState:"_sel, state); }

    View* view() const { return objc::send<View*>(this, "view"_sel); }
    BOOL isEnabled() const { return objc::send<BOOL>(this, "isEnabled"_sel); }
    void setEnabled(BOOL enabled) { objc::send<void>(this, "setEnabled:"_sel, enabled); }
    BOOL cancelsTouchesInView() const { return objc::send<BOOL>(this, "cancelsTouchesInView"_sel); }
    void setCancelsTouchesInView(BOOL cancels) { objc::send<void>(this, "setCancelsTouchesInView:"_sel, cancels); }

    // Where the finger is (or last was), in the view's coordinates; a nil
    // view means the window's.
    CGPoint locationInView(const View* view) const { return objc::send<CGPoint>(this, "locationInView:"_sel, view); }
    NSUInteger numberOfTouches() const { return objc::send<NSUInteger>(this, "numberOfTouches"_sel); }

    // Overridden by subclasses; the base does nothing.
    void reset() { objc::send<void>(this, "reset"_sel); }
    void touchesBegan(TouchSet* touches, Event* event) {
        objc::send<void>(this, "touchesBegan:withEvent:"_sel, touches, event);
    }
    void touchesMoved(TouchSet* touches, Event* event) {
        objc::send<void>(this, "touchesMoved:withEvent:"_sel, touches, event);
    }
    void touchesEnded(TouchSet* touches, Event* event) {
        objc::send<void>(this, "touchesEnded:withEvent:"_sel, touches, event);
    }
    void touchesCancelled(TouchSet* touches, Event* event) {
        objc::send<void>(this, "touchesCancelled:withEvent:"_sel, touches, event);
    }
};

class PanGestureRecognizer : public GestureRecognizer {
public:
    static PanGestureRecognizer* alloc() {
        return objc::send<PanGestureRecognizer*>("UIPanGestureRecognizer"_cls, "alloc"_sel);
    }
    PanGestureRecognizer* initWithTarget(objc::AnyObject target, SEL action) {
        return objc::send<PanGestureRecognizer*>(this, "initWithTarget:action:"_sel, target.get(), action);
    }
    CGPoint translationInView(const View* view) const {
        return objc::send<CGPoint>(this, "translationInView:"_sel, view);
    }
    void setTranslation(CGPoint translation, const View* view) {
        objc::send<void>(this, "setTranslation:inView:"_sel, translation, view);
    }
    // Points per second over the last move (0 when no time passed).
    CGPoint velocityInView(const View* view) const { return objc::send<CGPoint>(this, "velocityInView:"_sel, view); }
};

class TapGestureRecognizer : public GestureRecognizer {
public:
    static TapGestureRecognizer* alloc() {
        return objc::send<TapGestureRecognizer*>("UITapGestureRecognizer"_cls, "alloc"_sel);
    }
    TapGestureRecognizer* initWithTarget(objc::AnyObject target, SEL action) {
        return objc::send<TapGestureRecognizer*>(this, "initWithTarget:action:"_sel, target.get(), action);
    }
};

}  // namespace UI

template <>
struct objc::Encoding<UI::UIGestureRecognizerState> {
    static constexpr const char* value = "l";
};
