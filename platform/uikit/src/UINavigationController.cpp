#include <Foundation/NSArray.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIGeometry.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIWindow.h>

#include "ControlMetrics.h"
#include "StatusBar.h"
#include "UIKitRegistration.h"
#include "ViewInternals.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace UI {
namespace {

struct Transition {
    NS::loop::TimerId timer = 0;
    std::function<void()> finish;
};

struct NavigationState {
    std::vector<id> stack;  // observed: the children own them
    Ref<NavigationBar> bar;
    Ref<View> statusBar;
    Transition* transition = nullptr;
    ~NavigationState() {
        if (transition != nullptr) {
            NS::loop::cancel(transition->timer);
            delete transition;
        }
    }
};

NavigationState& stateOf(id self) { return objc::state<NavigationState>(self); }

id topOf(id self) {
    const auto& stack = stateOf(self).stack;
    return stack.empty() ? nil : stack.back();
}

bool onScreen(id self) {
    if (!objc::send<BOOL>(self, "isViewLoaded"_sel)) return false;
    return objc::send<id>(objc::send<id>(self, "view"_sel), "window"_sel) != nil;
}

id containerView(id self) { return objc::send<id>(self, "view"_sel); }

CGRect contentFrame(id self) { return objc::send<CGRect>(containerView(self), "bounds"_sel); }

// A table that is a controller's view, or that view's first subview, keeps
// its content clear of the bars, as the phone's controllers adjust their
// scroll views: a top inset of the bars' height, scrolled to show the first
// row below them.
void adjustInsets(id view) {
    id table = nil;
    if (objc::send<BOOL>(view, "isKindOfClass:"_sel, "UITableView"_cls)) {
        table = view;
    } else {
        auto* subviews = objc::cast<NS::Array>(objc::send<id>(view, "subviews"_sel));
        id first = subviews->count() > 0 ? subviews->objectAtIndex(0) : nil;
        if (first != nil && objc::send<BOOL>(first, "isKindOfClass:"_sel, "UITableView"_cls)) table = first;
    }
    if (table == nil) return;
    UIEdgeInsets insets = objc::send<UIEdgeInsets>(table, "contentInset"_sel);
    if (insets.top != 0) return;
    insets.top = metrics::kStatusBarHeight + metrics::kNavigationBarHeight;
    objc::send<void>(table, "setContentInset:"_sel, insets);
    CGPoint offset = objc::send<CGPoint>(table, "contentOffset"_sel);
    if (offset.y == 0) objc::send<void>(table, "setContentOffset:"_sel, CGPointMake(offset.x, -insets.top));
}

// Puts a controller's view into the container, below the bars.
void showView(id self, id controller, CGRect frame) {
    id v = objc::send<id>(controller, "view"_sel);
    adjustInsets(v);
    objc::send<void>(v, "setFrame:"_sel, frame);
    id container = containerView(self);
    id subviews = objc::send<id>(container, "subviews"_sel);
    NSUInteger barIndex = objc::cast<NS::Array>(subviews)->indexOfObject(stateOf(self).bar.get());
    objc::send<void>(container, "insertSubview:atIndex:"_sel, v, static_cast<NSInteger>(barIndex));
}

void hideView(id controller) {
    if (!objc::send<BOOL>(controller, "isViewLoaded"_sel)) return;
    objc::send<void>(objc::send<id>(controller, "view"_sel), "removeFromSuperview"_sel);
}

void finishTransition(id self) {
    NavigationState& s = stateOf(self);
    if (s.transition == nullptr) return;
    Transition* t = s.transition;
    s.transition = nullptr;
    NS::loop::cancel(t->timer);
    auto finish = std::move(t->finish);
    delete t;
    finish();
}

// Runs `finish` after the slide, or at once.
void startTransition(id self, bool animated, std::function<void()> finish) {
    if (!animated) {
        finish();
        return;
    }
    auto* t = new Transition;
    t->finish = std::move(finish);
    stateOf(self).transition = t;
    Ref<NS::Object> keep(objc::cast<NS::Object>(self));
    t->timer = NS::loop::schedule(metrics::kPushDuration, [keep] { finishTransition(objc::asId(keep.get())); });
}

void slide(id view, CGRect from, CGRect to) {
    objc::send<void>(view, "setFrame:"_sel, from);
    Ref<View> v(objc::cast<View>(view));
    View::animateWithDuration(metrics::kPushDuration, 0, UIViewAnimationOptionCurveEaseInOut,
                              [v, to] { v->setFrame(to); });
}

// --- creation ---------------------------------------------------------------

id initWithRootViewController(id self, SEL, id root) {
    self = objc::sendSuper<id>(self, "UINavigationController"_cls, "init"_sel);
    if (self == nil) return nil;
    NavigationState& s = stateOf(self);
    CGFloat width = Screen::mainScreen()->bounds().size.width;
    s.bar = objc::adopt(NavigationBar::alloc()->initWithFrame(
        CGRectMake(0, metrics::kStatusBarHeight, width, metrics::kNavigationBarHeight)));
    s.bar->setDelegate(self);
    s.statusBar = objc::cast<View>(detail::makeStatusBar(width));
    if (root != nil) objc::send<void>(self, "pushViewController:animated:"_sel, root, NO);
    return self;
}

id init(id self, SEL) { return initWithRootViewController(self, nullptr, nil); }

void loadView(id self, SEL) {
    Ref<View> container = objc::adopt(objc::send<View*>(objc_getClass("UILayoutContainerView"), "alloc"_sel)
                                          ->initWithFrame(Screen::mainScreen()->bounds()));
    objc::send<void>(self, "setView:"_sel, container.get());
    NavigationState& s = stateOf(self);
    container->addSubview(s.bar);
    container->addSubview(s.statusBar);
    if (id top = topOf(self)) showView(self, top, contentFrame(self));
}

void dealloc(id self, SEL) {
    // A transition still pending here was abandoned (its timer cancelled):
    // the state lets it go without running it.
    if (NavigationBar* bar = stateOf(self).bar) bar->setDelegate(nullptr);
    objc::sendSuper<void>(self, "UINavigationController"_cls, "dealloc"_sel);
}

// --- the stack --------------------------------------------------------------

void push(id self, SEL, id controller, BOOL animated) {
    if (controller == nil) return;
    NavigationState& s = stateOf(self);
    if (std::find(s.stack.begin(), s.stack.end(), controller) != s.stack.end()) {
        objc::fatal("-[UINavigationController pushViewController:animated:] the controller is on the stack already");
    }
    finishTransition(self);
    Ref<ViewController> old(objc::cast<ViewController>(topOf(self)));
    Ref<ViewController> pushed(objc::cast<ViewController>(controller));
    objc::send<void>(self, "addChildViewController:"_sel, controller);
    s.stack.push_back(controller);
    objc::send<void>(s.bar.get(), "pushNavigationItem:animated:"_sel, objc::send<id>(controller, "navigationItem"_sel),
                     animated);

    if (!onScreen(self)) {
        if (objc::send<BOOL>(self, "isViewLoaded"_sel)) {
            if (old) hideView(objc::asId(old.get()));
            showView(self, controller, contentFrame(self));
        }
        objc::send<void>(controller, "didMoveToParentViewController:"_sel, self);
        return;
    }
    bool slideIn = animated && old;
    CGRect frame = contentFrame(self);
    objc::send<void>(controller, "view"_sel);  // loaded before it hears that it will appear
    pushed->viewWillAppear(animated);
    if (old) old->viewWillDisappear(animated);
    showView(self, controller, frame);
    if (slideIn) {
        slide(objc::asId(pushed->view()), CGRectOffset(frame, frame.size.width, 0), frame);
        slide(objc::asId(old->view()), frame, CGRectOffset(frame, -frame.size.width / 3, 0));
    }
    // The transition belongs to this controller, so it holds it unretained.
    startTransition(self, slideIn, [self, old, pushed, animated, frame] {
        if (old) {
            hideView(objc::asId(old.get()));
            old->view()->setFrame(frame);
            old->viewDidDisappear(animated);
        }
        pushed->viewDidAppear(animated);
        objc::send<void>(pushed.get(), "didMoveToParentViewController:"_sel, self);
    });
}

// Takes the top controller off: the one below appears, the top one goes
// and is let go of once its transition has ended.
id pop(id self, SEL, BOOL animated) {
    NavigationState& s = stateOf(self);
    finishTransition(self);
    if (s.stack.size() < 2) return nil;
    Ref<ViewController> old(objc::cast<ViewController>(s.stack.back()));
    s.stack.pop_back();
    Ref<ViewController> below(objc::cast<ViewController>(s.stack.back()));
    objc::send<id>(s.bar.get(), "popNavigationItemAnimated:"_sel, animated);
    objc::send<void>(old.get(), "willMoveToParentViewController:"_sel, nil);
    id result = objc::send<id>(objc::retain(objc::asId(old.get())), "autorelease"_sel);

    if (!onScreen(self)) {
        hideView(objc::asId(old.get()));
        if (objc::send<BOOL>(self, "isViewLoaded"_sel)) showView(self, objc::asId(below.get()), contentFrame(self));
        old->removeFromParentViewController();
        return result;
    }
    CGRect frame = contentFrame(self);
    objc::send<void>(below.get(), "view"_sel);
    below->viewWillAppear(animated);
    old->viewWillDisappear(animated);
    // The controller below comes back under the one leaving.
    id belowView = objc::asId(below->view());
    objc::send<void>(belowView, "setFrame:"_sel, frame);
    id container = containerView(self);
    id oldView = objc::asId(old->view());
    NSUInteger oldIndex = objc::cast<NS::Array>(objc::send<id>(container, "subviews"_sel))->indexOfObject(oldView);
    objc::send<void>(container, "insertSubview:atIndex:"_sel, belowView, static_cast<NSInteger>(oldIndex));
    if (animated) {
        slide(belowView, CGRectOffset(frame, -frame.size.width / 3, 0), frame);
        slide(oldView, frame, CGRectOffset(frame, frame.size.width, 0));
    }
    startTransition(self, animated, [old, below, animated, frame] {
        hideView(objc::asId(old.get()));
        old->view()->setFrame(frame);
        old->viewDidDisappear(animated);
        below->viewDidAppear(animated);
        old->removeFromParentViewController();
    });
    return result;
}

id popToRoot(id self, SEL, BOOL animated) {
    NavigationState& s = stateOf(self);
    finishTransition(self);
    if (s.stack.size() < 2) return nil;
    NS::MutableArray* popped = NS::MutableArray::array();
    // The controllers between the root and the top leave without a show:
    // they are not on screen.
    while (s.stack.size() > 2) {
        id middle = s.stack[s.stack.size() - 2];
        popped->addObject(middle);
        s.stack.erase(s.stack.end() - 2);
        id items = objc::send<id>(s.bar.get(), "items"_sel);
        NS::MutableArray* kept = objc::cast<NS::Array>(items)->mutableCopy();
        kept->removeObjectAtIndex(kept->count() - 2);
        objc::send<void>(s.bar.get(), "setItems:animated:"_sel, kept, NO);
        kept->release();
        objc::send<void>(middle, "willMoveToParentViewController:"_sel, nil);
        objc::send<void>(middle, "removeFromParentViewController"_sel);
    }
    if (id top = pop(self, nullptr, animated)) popped->insertObject(top, 0);
    return objc::asId(popped);
}

id viewControllers(id self, SEL) {
    const auto& stack = stateOf(self).stack;
    return objc::asId(NS::Array::arrayWithObjects(stack.data(), stack.size()));
}
id topViewController(id self, SEL) { return topOf(self); }
NavigationBar* bar(id self, SEL) { return stateOf(self).bar; }

// The bar's back button: the top controller goes, and the bar's item with it.
BOOL shouldPopItem(id self, SEL, id, id item) {
    id top = topOf(self);
    if (top != nil && objc::send<id>(top, "navigationItem"_sel) == item) {
        objc::send<id>(self, "popViewControllerAnimated:"_sel, BOOL(YES));
    }
    return NO;
}

// --- appearance and rotation follow the top controller ----------------------

void forwardAppearance(id self, SEL s, BOOL animated) {
    objc::sendSuper<void>(self, "UINavigationController"_cls, s, animated);
    objc::send<void>(topOf(self), s, animated);
}

UIInterfaceOrientationMask supportedOrientations(id self, SEL s) {
    id top = topOf(self);
    if (top == nil) return objc::sendSuper<UIInterfaceOrientationMask>(self, "UINavigationController"_cls, s);
    return objc::send<UIInterfaceOrientationMask>(top, s);
}

BOOL shouldAutorotate(id self, SEL s) {
    id top = topOf(self);
    return top != nil ? objc::send<BOOL>(top, s) : YES;
}

UIInterfaceOrientation preferredOrientation(id self, SEL s) {
    id top = topOf(self);
    if (top == nil) return objc::sendSuper<UIInterfaceOrientation>(self, "UINavigationController"_cls, s);
    return objc::send<UIInterfaceOrientation>(top, s);
}

// --- the container view -------------------------------------------------------

// The bars keep their place at the top; the top controller's view fills the
// container.
void containerLayout(id self, SEL) {
    id controller = detail::viewDelegateOf(self);
    if (controller == nil) return;
    NavigationState& s = stateOf(controller);
    CGRect b = objc::send<CGRect>(self, "bounds"_sel);
    s.statusBar->setFrame(CGRectMake(0, 0, b.size.width, metrics::kStatusBarHeight));
    s.bar->setFrame(CGRectMake(0, metrics::kStatusBarHeight, b.size.width, metrics::kNavigationBarHeight));
    if (s.transition == nullptr) {
        if (id top = topOf(controller); top != nil && objc::send<BOOL>(top, "isViewLoaded"_sel)) {
            objc::send<void>(objc::send<id>(top, "view"_sel), "setFrame:"_sel, b);
        }
    }
}

// Entering or leaving a window is the navigation controller's appearing or
// disappearing.
void containerWillMoveToWindow(id self, SEL, id newWindow) {
    id controller = detail::viewDelegateOf(self);
    id oldWindow = objc::send<id>(self, "window"_sel);
    if (controller == nil || (oldWindow == nil) == (newWindow == nil)) return;
    finishTransition(controller);
    objc::send<void>(controller, newWindow != nil ? "viewWillAppear:"_sel : "viewWillDisappear:"_sel, BOOL(NO));
}

void containerDidMoveToWindow(id self, SEL) {
    id controller = detail::viewDelegateOf(self);
    if (controller == nil) return;
    bool inWindow = objc::send<id>(self, "window"_sel) != nil;
    objc::send<void>(controller, inWindow ? "viewDidAppear:"_sel : "viewDidDisappear:"_sel, BOOL(NO));
}

}  // namespace

namespace navigation {

void finishTransition(NavigationController* controller) {
    if (controller != nullptr) UI::finishTransition(objc::asId(controller));
}

bool isInTransition(NavigationController* controller) {
    return controller != nullptr && stateOf(objc::asId(controller)).transition != nullptr;
}

}  // namespace navigation

void registerNavigationController() {
    detail::registerStatusBar();
    objc::ClassBuilder("UILayoutContainerView", "UIView"_cls)
        .method("layoutSubviews", &containerLayout)
        .method("willMoveToWindow:", &containerWillMoveToWindow)
        .method("didMoveToWindow", &containerDidMoveToWindow)
        .build();
    objc::ClassBuilder("UINavigationController", "UIViewController"_cls)
        .state<NavigationState>()
        .method("initWithRootViewController:", &initWithRootViewController)
        .method("init", &init)
        .method("loadView", &loadView)
        .method("dealloc", &dealloc)
        .method("pushViewController:animated:", &push)
        .method("popViewControllerAnimated:", &pop)
        .method("popToRootViewControllerAnimated:", &popToRoot)
        .method("viewControllers", &viewControllers)
        .method("topViewController", &topViewController)
        .method("visibleViewController", &topViewController)
        .method("navigationBar", &bar)
        .method("navigationBar:shouldPopItem:", &shouldPopItem)
        .method("viewWillAppear:", &forwardAppearance)
        .method("viewDidAppear:", &forwardAppearance)
        .method("viewWillDisappear:", &forwardAppearance)
        .method("viewDidDisappear:", &forwardAppearance)
        .method("supportedInterfaceOrientations", &supportedOrientations)
        .method("shouldAutorotate", &shouldAutorotate)
        .method("preferredInterfaceOrientationForPresentation", &preferredOrientation)
        .build();
}

}  // namespace UI
