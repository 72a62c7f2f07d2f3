#include <Foundation/NSArray.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIGeometry.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITableView.h>
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
    std::vector<ViewController*> stack;  // observed: the children own them
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

NavigationState& stateOf(objc::AnyObject self) { return objc::state<NavigationState>(self); }

ViewController* topOf(NavigationController* self) {
    const auto& stack = stateOf(self).stack;
    return stack.empty() ? nullptr : stack.back();
}

bool onScreen(NavigationController* self) {
    if (!self->isViewLoaded()) return false;
    return self->view()->window() != nullptr;
}

CGRect contentFrame(NavigationController* self) { return self->view()->bounds(); }

// A table that is a controller's view, or that view's first subview, keeps
// its content clear of the bars, as the phone's controllers adjust their
// scroll views: a top inset of the bars' height, scrolled to show the first
// row below them.
void adjustInsets(View* view) {
    View* found = nullptr;
    if (view->isKindOfClass("UITableView"_cls)) {
        found = view;
    } else {
        NS::Array* subviews = view->subviews();
        auto* first = objc::cast<View>(subviews->count() > 0 ? subviews->objectAtIndex(0) : nil);
        if (first != nullptr && first->isKindOfClass("UITableView"_cls)) found = first;
    }
    if (found == nullptr) return;
    auto* table = objc::cast<TableView>(found);
    UIEdgeInsets insets = table->contentInset();
    if (insets.top != 0) return;
    insets.top = metrics::kStatusBarHeight + metrics::kNavigationBarHeight;
    table->setContentInset(insets);
    CGPoint offset = table->contentOffset();
    if (offset.y == 0) table->setContentOffset(CGPointMake(offset.x, -insets.top));
}

// Puts a controller's view into the container, below the bars.
void showView(NavigationController* self, ViewController* controller, CGRect frame) {
    View* v = controller->view();
    adjustInsets(v);
    v->setFrame(frame);
    View* container = self->view();
    NSUInteger barIndex = container->subviews()->indexOfObject(stateOf(self).bar);
    container->insertSubview(v, static_cast<NSInteger>(barIndex));
}

void hideView(ViewController* controller) {
    if (!controller->isViewLoaded()) return;
    controller->view()->removeFromSuperview();
}

void finishTransition(NavigationController* self) {
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
void startTransition(NavigationController* self, bool animated, std::function<void()> finish) {
    if (!animated) {
        finish();
        return;
    }
    auto* t = new Transition;
    t->finish = std::move(finish);
    stateOf(self).transition = t;
    Ref<NavigationController> keep(self);
    t->timer = NS::loop::schedule(metrics::kPushDuration, [keep] { finishTransition(keep.get()); });
}

void slide(View* view, CGRect from, CGRect to) {
    view->setFrame(from);
    Ref<View> v(view);
    View::animateWithDuration(metrics::kPushDuration, 0, UIViewAnimationOptionCurveEaseInOut,
                              [v, to] { v->setFrame(to); });
}

// --- creation ---------------------------------------------------------------

NavigationController* initWithRootViewController(NavigationController* self, SEL, ViewController* root) {
    self = objc::sendSuper<NavigationController*>(self, "UINavigationController"_cls, "init"_sel);
    if (self == nullptr) return nullptr;
    NavigationState& s = stateOf(self);
    CGFloat width = Screen::mainScreen()->bounds().size.width;
    s.bar = objc::adopt(NavigationBar::alloc()->initWithFrame(
        CGRectMake(0, metrics::kStatusBarHeight, width, metrics::kNavigationBarHeight)));
    s.bar->setDelegate(self);
    s.statusBar = objc::cast<View>(detail::makeStatusBar(width));
    if (root != nullptr) self->pushViewController(root, NO);
    return self;
}

NavigationController* init(NavigationController* self, SEL) {
    return initWithRootViewController(self, nullptr, nullptr);
}

void loadView(NavigationController* self, SEL) {
    // The container's class is private to this file: it has no wrapper.
    Ref<View> container = objc::adopt(objc::send<View*>(objc_getClass("UILayoutContainerView"), "alloc"_sel)
                                          ->initWithFrame(Screen::mainScreen()->bounds()));
    self->setView(container);
    NavigationState& s = stateOf(self);
    container->addSubview(s.bar);
    container->addSubview(s.statusBar);
    if (ViewController* top = topOf(self)) showView(self, top, contentFrame(self));
}

void dealloc(NavigationController* self, SEL) {
    // A transition still pending here was abandoned (its timer cancelled):
    // the state lets it go without running it.
    if (NavigationBar* bar = stateOf(self).bar) bar->setDelegate(nullptr);
    objc::sendSuper<void>(self, "UINavigationController"_cls, "dealloc"_sel);
}

// --- the stack --------------------------------------------------------------

void push(NavigationController* self, SEL, ViewController* controller, BOOL animated) {
    if (controller == nullptr) return;
    NavigationState& s = stateOf(self);
    if (std::find(s.stack.begin(), s.stack.end(), controller) != s.stack.end()) {
        objc::fatal("-[UINavigationController pushViewController:animated:] the controller is on the stack already");
    }
    finishTransition(self);
    Ref<ViewController> old(topOf(self));
    Ref<ViewController> pushed(controller);
    self->addChildViewController(controller);
    s.stack.push_back(controller);
    s.bar->pushNavigationItem(controller->navigationItem(), animated);

    if (!onScreen(self)) {
        if (self->isViewLoaded()) {
            if (old) hideView(old);
            showView(self, controller, contentFrame(self));
        }
        controller->didMoveToParentViewController(self);
        return;
    }
    bool slideIn = animated && old;
    CGRect frame = contentFrame(self);
    controller->view();  // loaded before it hears that it will appear
    pushed->viewWillAppear(animated);
    if (old) old->viewWillDisappear(animated);
    showView(self, controller, frame);
    if (slideIn) {
        slide(pushed->view(), CGRectOffset(frame, frame.size.width, 0), frame);
        slide(old->view(), frame, CGRectOffset(frame, -frame.size.width / 3, 0));
    }
    // The transition belongs to this controller, so it holds it unretained.
    startTransition(self, slideIn, [self, old, pushed, animated, frame] {
        if (old) {
            hideView(old);
            old->view()->setFrame(frame);
            old->viewDidDisappear(animated);
        }
        pushed->viewDidAppear(animated);
        pushed->didMoveToParentViewController(self);
    });
}

// Takes the top controller off: the one below appears, the top one goes
// and is let go of once its transition has ended.
ViewController* pop(NavigationController* self, SEL, BOOL animated) {
    NavigationState& s = stateOf(self);
    finishTransition(self);
    if (s.stack.size() < 2) return nullptr;
    Ref<ViewController> old(s.stack.back());
    s.stack.pop_back();
    Ref<ViewController> below(s.stack.back());
    s.bar->popNavigationItemAnimated(animated);
    old->willMoveToParentViewController(nullptr);
    auto* result = objc::cast<ViewController>(old->retain()->autorelease());

    if (!onScreen(self)) {
        hideView(old);
        if (self->isViewLoaded()) showView(self, below, contentFrame(self));
        old->removeFromParentViewController();
        return result;
    }
    CGRect frame = contentFrame(self);
    below->view();
    below->viewWillAppear(animated);
    old->viewWillDisappear(animated);
    // The controller below comes back under the one leaving.
    View* belowView = below->view();
    belowView->setFrame(frame);
    View* container = self->view();
    View* oldView = old->view();
    NSUInteger oldIndex = container->subviews()->indexOfObject(oldView);
    container->insertSubview(belowView, static_cast<NSInteger>(oldIndex));
    if (animated) {
        slide(belowView, CGRectOffset(frame, -frame.size.width / 3, 0), frame);
        slide(oldView, frame, CGRectOffset(frame, frame.size.width, 0));
    }
    startTransition(self, animated, [old, below, animated, frame] {
        hideView(old);
        old->view()->setFrame(frame);
        old->viewDidDisappear(animated);
        below->viewDidAppear(animated);
        old->removeFromParentViewController();
    });
    return result;
}

NS::Array* popToRoot(NavigationController* self, SEL, BOOL animated) {
    NavigationState& s = stateOf(self);
    finishTransition(self);
    if (s.stack.size() < 2) return nullptr;
    NS::MutableArray* popped = NS::MutableArray::array();
    // The controllers between the root and the top leave without a show:
    // they are not on screen.
    while (s.stack.size() > 2) {
        ViewController* middle = s.stack[s.stack.size() - 2];
        popped->addObject(middle);
        s.stack.erase(s.stack.end() - 2);
        NS::MutableArray* kept = s.bar->items()->mutableCopy();
        kept->removeObjectAtIndex(kept->count() - 2);
        s.bar->setItems(kept, NO);
        kept->release();
        middle->willMoveToParentViewController(nullptr);
        middle->removeFromParentViewController();
    }
    if (ViewController* top = pop(self, nullptr, animated)) popped->insertObject(top, 0);
    return popped;
}

NS::Array* viewControllers(NavigationController* self, SEL) {
    const auto& stack = stateOf(self).stack;
    // A wrapper pointer is the object pointer, so the stack is the id list.
    return NS::Array::arrayWithObjects(reinterpret_cast<const id*>(stack.data()), stack.size());
}
ViewController* topViewController(NavigationController* self, SEL) { return topOf(self); }
NavigationBar* bar(NavigationController* self, SEL) { return stateOf(self).bar; }

// The bar's back button: the top controller goes, and the bar's item with it.
BOOL shouldPopItem(NavigationController* self, SEL, NavigationBar*, NavigationItem* item) {
    ViewController* top = topOf(self);
    if (top != nullptr && top->navigationItem() == item) self->popViewControllerAnimated(YES);
    return NO;
}

// --- appearance and rotation follow the top controller ----------------------

// One implementation for the four appearance messages: the top controller
// (if any) hears the same one.
void forwardAppearance(NavigationController* self, SEL s, BOOL animated) {
    objc::sendSuper<void>(self, "UINavigationController"_cls, s, animated);
    objc::send<void>(topOf(self), s, animated);
}

UIInterfaceOrientationMask supportedOrientations(NavigationController* self, SEL s) {
    ViewController* top = topOf(self);
    if (top == nullptr) return objc::sendSuper<UIInterfaceOrientationMask>(self, "UINavigationController"_cls, s);
    return top->supportedInterfaceOrientations();
}

BOOL shouldAutorotate(NavigationController* self, SEL) {
    ViewController* top = topOf(self);
    return top != nullptr ? top->shouldAutorotate() : YES;
}

UIInterfaceOrientation preferredOrientation(NavigationController* self, SEL s) {
    ViewController* top = topOf(self);
    if (top == nullptr) return objc::sendSuper<UIInterfaceOrientation>(self, "UINavigationController"_cls, s);
    return top->preferredInterfaceOrientationForPresentation();
}

// --- the container view -------------------------------------------------------

NavigationController* controllerOf(View* container) {
    return objc::cast<NavigationController>(detail::viewDelegateOf(objc::asId(container)));
}

// The bars keep their place at the top; the top controller's view fills the
// container.
void containerLayout(View* self, SEL) {
    NavigationController* controller = controllerOf(self);
    if (controller == nullptr) return;
    NavigationState& s = stateOf(controller);
    CGRect b = self->bounds();
    s.statusBar->setFrame(CGRectMake(0, 0, b.size.width, metrics::kStatusBarHeight));
    s.bar->setFrame(CGRectMake(0, metrics::kStatusBarHeight, b.size.width, metrics::kNavigationBarHeight));
    if (s.transition == nullptr) {
        if (ViewController* top = topOf(controller); top != nullptr && top->isViewLoaded()) top->view()->setFrame(b);
    }
}

// Entering or leaving a window is the navigation controller's appearing or
// disappearing.
void containerWillMoveToWindow(View* self, SEL, Window* newWindow) {
    NavigationController* controller = controllerOf(self);
    Window* oldWindow = self->window();
    if (controller == nullptr || (oldWindow == nullptr) == (newWindow == nullptr)) return;
    finishTransition(controller);
    if (newWindow != nullptr) {
        controller->viewWillAppear(NO);
    } else {
        controller->viewWillDisappear(NO);
    }
}

void containerDidMoveToWindow(View* self, SEL) {
    NavigationController* controller = controllerOf(self);
    if (controller == nullptr) return;
    if (self->window() != nullptr) {
        controller->viewDidAppear(NO);
    } else {
        controller->viewDidDisappear(NO);
    }
}

}  // namespace

namespace navigation {

void finishTransition(NavigationController* controller) {
    if (controller != nullptr) UI::finishTransition(controller);
}

bool isInTransition(NavigationController* controller) {
    return controller != nullptr && stateOf(controller).transition != nullptr;
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
