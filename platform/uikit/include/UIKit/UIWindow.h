// UIWindow: the top of a view tree on the screen. A window is hidden until
// it is shown (setHidden: NO or makeKeyAndVisible); the application keeps
// every shown window, in the order shown, and one of them is the key window.
// The window shows its root view controller's view over its whole bounds.
#pragma once

#include <UIKit/UIView.h>

namespace UI {

class Event;
class Screen;
class ViewController;

class Window : public View {
public:
    static Window* alloc() { return objc::send<Window*>("UIWindow"_cls, "alloc"_sel); }
    Window* initWithFrame(CGRect frame) { return objc::send<Window*>(this, "initWithFrame:"_sel, frame); }
    // A window over the whole screen.
    Window* init() { return objc::send<Window*>(this, "init"_sel); }

    void makeKeyAndVisible() { objc::send<void>(this, "makeKeyAndVisible"_sel); }
    void makeKeyWindow() { objc::send<void>(this, "makeKeyWindow"_sel); }
    BOOL isKeyWindow() const { return objc::send<BOOL>(this, "isKeyWindow"_sel); }
    void becomeKeyWindow() { objc::send<void>(this, "becomeKeyWindow"_sel); }
    void resignKeyWindow() { objc::send<void>(this, "resignKeyWindow"_sel); }

    ViewController* rootViewController() const { return objc::send<ViewController*>(this, "rootViewController"_sel); }
    void setRootViewController(ViewController* controller) {
        objc::send<void>(this, "setRootViewController:"_sel, controller);
    }

    Screen* screen() const { return objc::send<Screen*>(this, "screen"_sel); }

    // Delivers a touch event to the gesture recognisers and views of its
    // touches (see UIInput.h for where events come from).
    void sendEvent(Event* event) { objc::send<void>(this, "sendEvent:"_sel, event); }
};

// Lays out every view of the shown windows that needs it and paints every
// layer that needs display: what a turn of an app's run loop does before the
// screen is shown. Screenshots call it first.
void updateDisplay();

}  // namespace UI
