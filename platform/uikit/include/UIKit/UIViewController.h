// UIViewController: owns a view, made on first request (loadView, then
// viewDidLoad). The view knows its controller, which is the view's next
// responder and what _viewControllerForAncestor finds; the controller's next
// responder is its view's superview, else its parent controller.
//
// Appearance: viewWillAppear:, viewDidAppear:, viewWillDisappear: and
// viewDidDisappear: are sent by the container that shows the controller (a
// navigation controller, or a window whose root it is, see
// UINavigationController.h). Rotation: the visible controllers hear
// willRotateToInterfaceOrientation:duration:, then
// willAnimateRotationToInterfaceOrientation:duration: inside the rotation's
// animation, then didRotateFromInterfaceOrientation: once it has ended (see
// UI::orientation::rotate).
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UIResponder.h>

namespace NS {
class Array;
}

namespace UI {

class View;
class NavigationItem;
class NavigationController;

enum UIInterfaceOrientation : NSInteger {
    UIInterfaceOrientationUnknown = 0,
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeRight = 3,
    UIInterfaceOrientationLandscapeLeft = 4,
};

using UIInterfaceOrientationMask = NSUInteger;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortrait = 1 << UIInterfaceOrientationPortrait;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortraitUpsideDown =
    1 << UIInterfaceOrientationPortraitUpsideDown;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscapeRight =
    1 << UIInterfaceOrientationLandscapeRight;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscapeLeft =
    1 << UIInterfaceOrientationLandscapeLeft;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscape =
    UIInterfaceOrientationMaskLandscapeLeft | UIInterfaceOrientationMaskLandscapeRight;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAll =
    UIInterfaceOrientationMaskPortrait | UIInterfaceOrientationMaskPortraitUpsideDown |
    UIInterfaceOrientationMaskLandscape;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAllButUpsideDown =
    UIInterfaceOrientationMaskPortrait | UIInterfaceOrientationMaskLandscape;

inline constexpr bool UIInterfaceOrientationIsLandscape(UIInterfaceOrientation o) {
    return o == UIInterfaceOrientationLandscapeLeft || o == UIInterfaceOrientationLandscapeRight;
}

class ViewController : public Responder {
public:
    static ViewController* alloc() { return objc::send<ViewController*>("UIViewController"_cls, "alloc"_sel); }
    ViewController* init() { return objc::send<ViewController*>(this, "init"_sel); }

    // Loads the view when it is not loaded yet.
    View* view() { return objc::send<View*>(this, "view"_sel); }
    void setView(View* view) { objc::send<void>(this, "setView:"_sel, view); }
    BOOL isViewLoaded() const { return objc::send<BOOL>(this, "isViewLoaded"_sel); }
    // Makes a plain view of the main screen's size; override to make others.
    void loadView() { objc::send<void>(this, "loadView"_sel); }
    void viewDidLoad() { objc::send<void>(this, "viewDidLoad"_sel); }

    void viewWillAppear(BOOL animated) { objc::send<void>(this, "viewWillAppear:"_sel, animated); }
    void viewDidAppear(BOOL animated) { objc::send<void>(this, "viewDidAppear:"_sel, animated); }
    void viewWillDisappear(BOOL animated) { objc::send<void>(this, "viewWillDisappear:"_sel, animated); }
    void viewDidDisappear(BOOL animated) { objc::send<void>(this, "viewDidDisappear:"_sel, animated); }

    // Setting the title titles the navigation item too.
    NS::String* title() const { return objc::send<NS::String*>(this, "title"_sel); }
    void setTitle(const NS::String* title) { objc::send<void>(this, "setTitle:"_sel, title); }
    // Made on first request, titled like the controller.
    NavigationItem* navigationItem() { return objc::send<NavigationItem*>(this, "navigationItem"_sel); }

    // The nearest navigation controller among the controller's ancestors
    // (observed), or nil.
    NavigationController* navigationController() const {
        return objc::send<NavigationController*>(this, "navigationController"_sel);
    }
    // The container holding the controller (observed), or nil.
    ViewController* parentViewController() const {
        return objc::send<ViewController*>(this, "parentViewController"_sel);
    }
    // Children are retained by their parent.
    NS::Array* childViewControllers() const { return objc::send<NS::Array*>(this, "childViewControllers"_sel); }
    void addChildViewController(ViewController* child) { objc::send<void>(this, "addChildViewController:"_sel, child); }
    void removeFromParentViewController() { objc::send<void>(this, "removeFromParentViewController"_sel); }
    void willMoveToParentViewController(ViewController* parent) {
        objc::send<void>(this, "willMoveToParentViewController:"_sel, parent);
    }
    void didMoveToParentViewController(ViewController* parent) {
        objc::send<void>(this, "didMoveToParentViewController:"_sel, parent);
    }

    void willRotateToInterfaceOrientation(UIInterfaceOrientation to, double duration) {
        objc::send<void>(this, "willRotateToInterfaceOrientation:duration:"_sel, to, duration);
    }
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation to, double duration) {
        objc::send<void>(this, "willAnimateRotationToInterfaceOrientation:duration:"_sel, to, duration);
    }
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation from) {
        objc::send<void>(this, "didRotateFromInterfaceOrientation:"_sel, from);
    }
    // All but upside down on phones, all on the iPad.
    UIInterfaceOrientationMask supportedInterfaceOrientations() const {
        return objc::send<UIInterfaceOrientationMask>(this, "supportedInterfaceOrientations"_sel);
    }
    // The orientation the interface has now.
    UIInterfaceOrientation preferredInterfaceOrientationForPresentation() const {
        return objc::send<UIInterfaceOrientation>(this, "preferredInterfaceOrientationForPresentation"_sel);
    }
    BOOL shouldAutorotate() const { return objc::send<BOOL>(this, "shouldAutorotate"_sel); }
    UIInterfaceOrientation interfaceOrientation() const {
        return objc::send<UIInterfaceOrientation>(this, "interfaceOrientation"_sel);
    }

    void didReceiveMemoryWarning() { objc::send<void>(this, "didReceiveMemoryWarning"_sel); }
};

namespace orientation {

// The orientation of the interface (portrait at launch).
UIInterfaceOrientation current();

// Turns the interface of the shown windows to the orientation, as turning
// the phone does. Each window whose root view controller allows it (its
// supportedInterfaceOrientations holds the orientation, and it should
// autorotate) takes the turned size (width and height swapped for landscape)
// and so does its root controller's view; the visible controllers hear
// willRotate (0.3 s), then willAnimateRotation inside a 0.3 s animation
// block, then, 0.3 s later on the run loop, didRotateFromInterfaceOrientation:
// with the old orientation. A root controller that does not allow it turns
// nothing and hears nothing. Returns whether the interface turned; turning
// to the current orientation does nothing.
bool rotate(UIInterfaceOrientation to);

// Back to portrait without telling anyone (test fixtures).
void reset();

}  // namespace orientation
}  // namespace UI

template <>
struct objc::Encoding<UI::UIInterfaceOrientation> {
    static constexpr const char* value = "l";
};
