#include <Foundation/NSArray.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

#include "ControlMetrics.h"
#include "UIKitRegistration.h"
#include "ViewInternals.h"

#include <algorithm>
#include <vector>

namespace UI {
namespace {

struct ControllerState {
    id view = nil;             // retained
    id title = nil;            // retained copy
    id navigationItem = nil;   // retained, made on first request
    id parent = nil;           // observed
    std::vector<id> children;  // each retained
    ~ControllerState() {
        objc::release(title);
        objc::release(navigationItem);
        for (id child : children) objc::release(child);
    }
};

ControllerState& stateOf(id self) { return objc::state<ControllerState>(self); }

UIInterfaceOrientation currentOrientation = UIInterfaceOrientationPortrait;

void setView(id self, SEL, id view) {
    ControllerState& s = stateOf(self);
    if (view == s.view) return;
    objc::retain(view);
    if (s.view != nil) {
        if (detail::viewDelegateOf(s.view) == self) detail::setViewDelegate(s.view, nil);
        objc::release(s.view);
    }
    s.view = view;
    if (view != nil) detail::setViewDelegate(view, self);
}

id view(id self, SEL) {
    ControllerState& s = stateOf(self);
    if (s.view == nil) {
        objc::send<void>(self, "loadView"_sel);
        if (s.view == nil) objc::fatal("-[%s loadView] did not set a view", object_getClassName(self));
        objc::send<void>(self, "viewDidLoad"_sel);
    }
    return s.view;
}

BOOL isViewLoaded(id self, SEL) { return stateOf(self).view != nil ? YES : NO; }

void loadView(id self, SEL) {
    id view =
        objc::send<id>(objc::send<id>("UIView"_cls, "alloc"_sel), "initWithFrame:"_sel, Screen::mainScreen()->bounds());
    objc::send<void>(self, "setView:"_sel, view);
    objc::release(view);
}

void nothing(id, SEL) {}
void nothingAnimated(id, SEL, BOOL) {}

id nextResponder(id self, SEL) {
    ControllerState& s = stateOf(self);
    if (s.view != nil) {
        if (id superview = objc::send<id>(s.view, "superview"_sel)) return superview;
    }
    return s.parent;
}

// --- title and navigation item ---------------------------------------------

id title(id self, SEL) { return stateOf(self).title; }

void setTitle(id self, SEL, id title) {
    id copy = objc::send<id>(title, "copy"_sel);
    objc::release(stateOf(self).title);
    stateOf(self).title = copy;
    if (id item = stateOf(self).navigationItem) objc::send<void>(item, "setTitle:"_sel, copy);
}

id navigationItem(id self, SEL) {
    ControllerState& s = stateOf(self);
    if (s.navigationItem == nil) {
        s.navigationItem =
            objc::send<id>(objc::send<id>("UINavigationItem"_cls, "alloc"_sel), "initWithTitle:"_sel, s.title);
    }
    return s.navigationItem;
}

// --- containment ------------------------------------------------------------

id parentViewController(id self, SEL) { return stateOf(self).parent; }

id navigationController(id self, SEL) {
    for (id c = stateOf(self).parent; c != nil; c = stateOf(c).parent) {
        if (objc::send<BOOL>(c, "isKindOfClass:"_sel, "UINavigationController"_cls)) return c;
    }
    return nil;
}

id childViewControllers(id self, SEL) {
    const auto& children = stateOf(self).children;
    return objc::asId(NS::Array::arrayWithObjects(children.data(), children.size()));
}

void addChildViewController(id self, SEL, id child) {
    if (child == nil || child == self || stateOf(child).parent == self) return;
    objc::retain(child);
    if (stateOf(child).parent != nil) objc::send<void>(child, "removeFromParentViewController"_sel);
    objc::send<void>(child, "willMoveToParentViewController:"_sel, self);
    stateOf(self).children.push_back(child);
    stateOf(child).parent = self;
}

void removeFromParentViewController(id self, SEL) {
    id parent = stateOf(self).parent;
    if (parent == nil) return;
    auto& siblings = stateOf(parent).children;
    auto it = std::find(siblings.begin(), siblings.end(), self);
    stateOf(self).parent = nil;
    if (it == siblings.end()) return;
    siblings.erase(it);
    objc::send<void>(self, "didMoveToParentViewController:"_sel, nil);
    objc::release(self);  // the parent's reference
}

void movedToParent(id, SEL, id) {}

// --- rotation -----------------------------------------------------------------

// The children whose views are in a window, each retained for the caller.
std::vector<id> visibleChildren(id self) {
    std::vector<id> out;
    for (id child : stateOf(self).children) {
        id v = stateOf(child).view;
        if (v != nil && objc::send<id>(v, "window"_sel) != nil) out.push_back(objc::retain(child));
    }
    return out;
}

template <class... Args>
void forwardToVisibleChildren(id self, SEL selector, Args... args) {
    for (id child : visibleChildren(self)) {
        objc::send<void>(child, selector, args...);
        objc::release(child);
    }
}

void willRotate(id self, SEL s, UIInterfaceOrientation to, double duration) {
    forwardToVisibleChildren(self, s, to, duration);
}
void willAnimateRotation(id self, SEL s, UIInterfaceOrientation to, double duration) {
    forwardToVisibleChildren(self, s, to, duration);
}
void didRotate(id self, SEL s, UIInterfaceOrientation from) { forwardToVisibleChildren(self, s, from); }

UIInterfaceOrientationMask supportedInterfaceOrientations(id, SEL) {
    return screen::model() == screen::Model::iPad ? UIInterfaceOrientationMaskAll
                                                  : UIInterfaceOrientationMaskAllButUpsideDown;
}
UIInterfaceOrientation preferredOrientation(id, SEL) { return currentOrientation; }
UIInterfaceOrientation interfaceOrientation(id, SEL) { return currentOrientation; }
BOOL shouldAutorotate(id, SEL) { return YES; }

void dealloc(id self, SEL) {
    ControllerState& s = stateOf(self);
    for (id child : s.children) stateOf(child).parent = nil;
    setView(self, nullptr, nil);
    objc::sendSuper<void>(self, "UIViewController"_cls, "dealloc"_sel);
}

}  // namespace

namespace orientation {

UIInterfaceOrientation current() { return currentOrientation; }
void reset() { currentOrientation = UIInterfaceOrientationPortrait; }

bool rotate(UIInterfaceOrientation to) {
    if (to < UIInterfaceOrientationPortrait || to > UIInterfaceOrientationLandscapeLeft) return false;
    const UIInterfaceOrientation from = currentOrientation;
    if (to == from) return false;
    const double duration = metrics::kRotationDuration;

    std::vector<Ref<ViewController>> turning;
    std::vector<Ref<Window>> windows;
    for (Window* window : application::visibleWindows()) {
        ViewController* root = window->rootViewController();
        if (root == nullptr || !root->shouldAutorotate()) continue;
        if ((root->supportedInterfaceOrientations() & (UIInterfaceOrientationMask{1} << to)) == 0) continue;
        turning.emplace_back(root);
        windows.emplace_back(window);
    }
    if (turning.empty()) return false;

    for (auto& root : turning) root->willRotateToInterfaceOrientation(to, duration);
    currentOrientation = to;
    CGSize screenSize = Screen::mainScreen()->bounds().size;
    CGSize size = UIInterfaceOrientationIsLandscape(to) ? CGSizeMake(screenSize.height, screenSize.width) : screenSize;
    for (std::size_t i = 0; i < turning.size(); ++i) {
        Window* window = windows[i].get();
        CGRect frame = window->frame();
        window->setFrame(CGRectMake(frame.origin.x, frame.origin.y, size.width, size.height));
        turning[i]->view()->setFrame(window->bounds());
        window->layoutIfNeeded();
    }
    View::animateWithDuration(duration, 0, UIViewAnimationOptionCurveEaseInOut, [&] {
        for (auto& root : turning) root->willAnimateRotationToInterfaceOrientation(to, duration);
    });
    NS::loop::schedule(duration, [turning, from] {
        for (auto& root : turning) root->didRotateFromInterfaceOrientation(from);
    });
    return true;
}

}  // namespace orientation

void registerViewController() {
    objc::ClassBuilder("UIViewController", "UIResponder"_cls)
        .state<ControllerState>()
        .method("view", &view)
        .method("setView:", &setView)
        .method("isViewLoaded", &isViewLoaded)
        .method("loadView", &loadView)
        .method("viewDidLoad", &nothing)
        .method("viewWillAppear:", &nothingAnimated)
        .method("viewDidAppear:", &nothingAnimated)
        .method("viewWillDisappear:", &nothingAnimated)
        .method("viewDidDisappear:", &nothingAnimated)
        .method("title", &title)
        .method("setTitle:", &setTitle)
        .method("navigationItem", &navigationItem)
        .method("navigationController", &navigationController)
        .method("parentViewController", &parentViewController)
        .method("childViewControllers", &childViewControllers)
        .method("addChildViewController:", &addChildViewController)
        .method("removeFromParentViewController", &removeFromParentViewController)
        .method("willMoveToParentViewController:", &movedToParent)
        .method("didMoveToParentViewController:", &movedToParent)
        .method("willRotateToInterfaceOrientation:duration:", &willRotate)
        .method("willAnimateRotationToInterfaceOrientation:duration:", &willAnimateRotation)
        .method("didRotateFromInterfaceOrientation:", &didRotate)
        .method("supportedInterfaceOrientations", &supportedInterfaceOrientations)
        .method("preferredInterfaceOrientationForPresentation", &preferredOrientation)
        .method("interfaceOrientation", &interfaceOrientation)
        .method("shouldAutorotate", &shouldAutorotate)
        .method("didReceiveMemoryWarning", &nothing)
        .method("nextResponder", &nextResponder)
        .method("dealloc", &dealloc)
        .build();
}

}  // namespace UI
