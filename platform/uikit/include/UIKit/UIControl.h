// UIControl: the base of buttons, sliders, switches and text fields. It
// keeps target-action pairs per control event and tracks one finger at a
// time: a touch that begins in the control highlights it and sends
// touch-down; moving sends drag-inside or drag-outside (and drag-enter or
// drag-exit when the finger crosses the edge); lifting sends touch-up-inside
// when the finger is over the control, touch-up-outside otherwise. A
// disabled control takes no touches.
//
// Subclasses follow the finger by overriding, through the runtime,
// beginTrackingWithTouch:withEvent: (NO: stop tracking),
// continueTrackingWithTouch:withEvent:, endTrackingWithTouch:withEvent: and
// cancelTrackingWithEvent:.
//
// An action is sent with as many arguments as its selector has colons: none,
// the control, or the control and the event. A nil target sends the action
// to the first responder along the responder chain from the control that
// answers it.
#pragma once

#include <UIKit/UIView.h>

namespace UI {

class Touch;

using UIControlEvents = NSUInteger;
inline constexpr UIControlEvents UIControlEventTouchDown = 1 << 0;
inline constexpr UIControlEvents UIControlEventTouchDownRepeat = 1 << 1;
inline constexpr UIControlEvents UIControlEventTouchDragInside = 1 << 2;
inline constexpr UIControlEvents UIControlEventTouchDragOutside = 1 << 3;
inline constexpr UIControlEvents UIControlEventTouchDragEnter = 1 << 4;
inline constexpr UIControlEvents UIControlEventTouchDragExit = 1 << 5;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1 << 6;
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 1 << 7;
inline constexpr UIControlEvents UIControlEventTouchCancel = 1 << 8;
inline constexpr UIControlEvents UIControlEventValueChanged = 1 << 12;
inline constexpr UIControlEvents UIControlEventEditingDidBegin = 1 << 16;
inline constexpr UIControlEvents UIControlEventEditingChanged = 1 << 17;
inline constexpr UIControlEvents UIControlEventEditingDidEnd = 1 << 18;
inline constexpr UIControlEvents UIControlEventEditingDidEndOnExit = 1 << 19;
inline constexpr UIControlEvents UIControlEventAllTouchEvents = 0x00000FFF;
inline constexpr UIControlEvents UIControlEventAllEditingEvents = 0x000F0000;
inline constexpr UIControlEvents UIControlEventAllEvents = 0xFFFFFFFF;

using UIControlState = NSUInteger;
inline constexpr UIControlState UIControlStateNormal = 0;
inline constexpr UIControlState UIControlStateHighlighted = 1 << 0;
inline constexpr UIControlState UIControlStateDisabled = 1 << 1;
inline constexpr UIControlState UIControlStateSelected = 1 << 2;

class Control : public View {
public:
    static Control* alloc() { return objc::send<Control*>("UIControl"_cls, "alloc"_sel); }
    Control* initWithFrame(CGRect frame) { return objc::send<Control*>(this, "initWithFrame:"_sel, frame); }

    // The target is not retained. Adding a pair again adds the events to it.
    void addTarget(objc::AnyObject target, SEL action, UIControlEvents events) {
        objc::send<void>(this, "addTarget:action:forControlEvents:"_sel, target.get(), action, events);
    }
    // A nil target matches every target, a null action every action.
    void removeTarget(objc::AnyObject target, SEL action, UIControlEvents events) {
        objc::send<void>(this, "removeTarget:action:forControlEvents:"_sel, target.get(), action, events);
    }
    // The names of the actions for the target on the event, or nil.
    NS::Array* actionsForTarget(objc::AnyObject target, UIControlEvents event) const {
        return objc::send<NS::Array*>(this, "actionsForTarget:forControlEvent:"_sel, target.get(), event);
    }
    UIControlEvents allControlEvents() const { return objc::send<UIControlEvents>(this, "allControlEvents"_sel); }

    // Sends the actions of every pair registered for any of the events, in
    // the order the pairs were added.
    void sendActionsForControlEvents(UIControlEvents events) {
        objc::send<void>(this, "sendActionsForControlEvents:"_sel, events);
    }
    void sendAction(SEL action, objc::AnyObject target, Event* event) {
        objc::send<void>(this, "sendAction:to:forEvent:"_sel, action, target.get(), event);
    }

    BOOL isEnabled() const { return objc::send<BOOL>(this, "isEnabled"_sel); }
    void setEnabled(BOOL enabled) { objc::send<void>(this, "setEnabled:"_sel, enabled); }
    BOOL isHighlighted() const { return objc::send<BOOL>(this, "isHighlighted"_sel); }
    void setHighlighted(BOOL highlighted) { objc::send<void>(this, "setHighlighted:"_sel, highlighted); }
    BOOL isSelected() const { return objc::send<BOOL>(this, "isSelected"_sel); }
    void setSelected(BOOL selected) { objc::send<void>(this, "setSelected:"_sel, selected); }
    UIControlState state() const { return objc::send<UIControlState>(this, "state"_sel); }
    BOOL isTracking() const { return objc::send<BOOL>(this, "isTracking"_sel); }
    BOOL isTouchInside() const { return objc::send<BOOL>(this, "isTouchInside"_sel); }

    BOOL beginTrackingWithTouch(Touch* touch, Event* event) {
        return objc::send<BOOL>(this, "beginTrackingWithTouch:withEvent:"_sel, touch, event);
    }
    BOOL continueTrackingWithTouch(Touch* touch, Event* event) {
        return objc::send<BOOL>(this, "continueTrackingWithTouch:withEvent:"_sel, touch, event);
    }
    void endTrackingWithTouch(Touch* touch, Event* event) {
        objc::send<void>(this, "endTrackingWithTouch:withEvent:"_sel, touch, event);
    }
    void cancelTrackingWithEvent(Event* event) { objc::send<void>(this, "cancelTrackingWithEvent:"_sel, event); }
};

}  // namespace UI
