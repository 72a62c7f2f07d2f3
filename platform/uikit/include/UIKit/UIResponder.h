// UIResponder: the base of everything that takes part in touch handling. The
// default touch methods pass the touches on to the next responder, so a touch
// that a view does not handle travels up the chain: view, its view
// controller (if the view is a controller's view), its superview, ..., the
// window, the application.
#pragma once

#include <Foundation/NSObject.h>

namespace UI {

class Event;
class TouchSet;

class Responder : public NS::Object {
public:
    Responder* nextResponder() const { return objc::send<Responder*>(this, "nextResponder"_sel); }

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

    // One first responder per process (the text field being edited).
    BOOL canBecomeFirstResponder() const { return objc::send<BOOL>(this, "canBecomeFirstResponder"_sel); }
    BOOL becomeFirstResponder() { return objc::send<BOOL>(this, "becomeFirstResponder"_sel); }
    BOOL canResignFirstResponder() const { return objc::send<BOOL>(this, "canResignFirstResponder"_sel); }
    BOOL resignFirstResponder() { return objc::send<BOOL>(this, "resignFirstResponder"_sel); }
    BOOL isFirstResponder() const { return objc::send<BOOL>(this, "isFirstResponder"_sel); }
};

}  // namespace UI
