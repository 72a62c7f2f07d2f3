// UINavigationController: a stack of view controllers under a navigation
// bar. Its view holds the 20-point status bar, the 44-point bar below it and
// the top controller's view, which gets the controller's whole frame and
// draws under the bar. The stack's controllers are its children (retained);
// a popped controller is let go once its transition has ended.
//
// Appearance: while the navigation controller's view is in a window, a push
// sends the new controller viewWillAppear:, the old one viewWillDisappear:,
// then, once the slide has ended (0.35 s on the run loop when animated, at
// once otherwise), the old one viewDidDisappear: and the new one
// viewDidAppear:. A pop does the same with the roles turned: the controller
// below appears, the top one disappears. A push or pop during a transition
// finishes that transition first. When the controller's view enters or
// leaves a window, the top controller hears the appearance calls as well.
// Pushing while off screen only changes the stack.
//
// Rotation and orientations follow the top controller: the navigation
// controller supports what it supports.
#pragma once

#include <UIKit/UINavigationBar.h>
#include <UIKit/UIViewController.h>

namespace UI {

class NavigationController : public ViewController {
public:
    static NavigationController* alloc() {
        return objc::send<NavigationController*>("UINavigationController"_cls, "alloc"_sel);
    }
    NavigationController* initWithRootViewController(ViewController* root) {
        return objc::send<NavigationController*>(this, "initWithRootViewController:"_sel, root);
    }

    void pushViewController(ViewController* controller, BOOL animated) {
        objc::send<void>(this, "pushViewController:animated:"_sel, controller, animated);
    }
    // The popped controller (autoreleased), or nil when only the root is left.
    ViewController* popViewControllerAnimated(BOOL animated) {
        return objc::send<ViewController*>(this, "popViewControllerAnimated:"_sel, animated);
    }
    // The popped controllers, or nil.
    NS::Array* popToRootViewControllerAnimated(BOOL animated) {
        return objc::send<NS::Array*>(this, "popToRootViewControllerAnimated:"_sel, animated);
    }

    NS::Array* viewControllers() const { return objc::send<NS::Array*>(this, "viewControllers"_sel); }
    ViewController* topViewController() const { return objc::send<ViewController*>(this, "topViewController"_sel); }
    ViewController* visibleViewController() const {
        return objc::send<ViewController*>(this, "visibleViewController"_sel);
    }
    NavigationBar* navigationBar() { return objc::send<NavigationBar*>(this, "navigationBar"_sel); }
};

namespace navigation {

// Finishes the running push or pop at once, as if its animation had ended
// (scripts that do not want to wait).
void finishTransition(NavigationController* controller);
bool isInTransition(NavigationController* controller);

}  // namespace navigation
}  // namespace UI
