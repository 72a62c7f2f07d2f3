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
    Ref<View> view;
    Ref<NS::String> title;               // a copy of the string set
    Ref<NavigationItem> navigationItem;  // made on first request
    ViewController* parent = nullptr;    // not owned
    std::vector<Ref<ViewController>> children;
};

ControllerState& stateOf(objc::AnyObject self) { return objc::state<ControllerState>(self); }

UIInterfaceOrientation currentOrientation = UIInterfaceOrientationPortrait;

void setView(ViewController* self, SEL, View* view) {
    ControllerState& s = stateOf(self);
    if (view == s.view) return;
    if (s.view && detail::viewDelegateOf(objc::asId(s.view.get())) == objc::asId(self))
        detail::setViewDelegate(objc::asId(s.view.get()), nil);
    s.view = view;
    if (view != nullptr) detail::setViewDelegate(objc::asId(view), objc::asId(self));
}

View* view(ViewController* self, SEL) {
    ControllerState& s = stateOf(self);
    if (!s.view) {
        self->loadView();
        if (!s.view) objc::fatal("-[%s loadView] did not set a view", object_getClassName(objc::asId(self)));
        self->viewDidLoad();
    }
    return s.view;
}

BOOL isViewLoaded(id self, SEL) { return stateOf(self).view ? YES : NO; }

void loadView(ViewController* self, SEL) {
    Ref<View> view = objc::adopt(View::alloc()->initWithFrame(Screen::mainScreen()->bounds()));
    self->setView(view);
}

void nothing(id, SEL) {}
void nothingAnimated(id, SEL, BOOL) {}

Responder* nextResponder(id self, SEL) {
    ControllerState& s = stateOf(self);
    if (s.view) {
        if (View* superview = s.view->superview()) return superview;
    }
    return s.parent;
}

// --- title and navigation item ---------------------------------------------

NS::String* title(id self, SEL) { return stateOf(self).title; }

void setTitle(id self, SEL, NS::String* title) {
    ControllerState& s = stateOf(self);
    s.title = objc::copyOf(title);
    if (s.navigationItem) s.navigationItem->setTitle(s.title);
}

NavigationItem* navigationItem(id self, SEL) {
    ControllerState& s = stateOf(self);
    if (!s.navigationItem) s.navigationItem = objc::adopt(NavigationItem::alloc()->initWithTitle(s.title));
    return s.navigationItem;
}

// --- containment ------------------------------------------------------------

ViewController* parentViewController(id self, SEL) { return stateOf(self).parent; }

ViewController* navigationController(id self, SEL) {
    for (ViewController* c = stateOf(self).parent; c != nullptr; c = stateOf(c).parent) {
        if (c->isKindOfClass("UINavigationController"_cls)) return c;
    }
    return nullptr;
}

NS::Array* childViewControllers(id self, SEL) {
    std::vector<id> children;
    for (ViewController* child : stateOf(self).children) children.push_back(objc::asId(child));
    return NS::Array::arrayWithObjects(children.data(), children.size());
}

void addChildViewController(ViewController* self, SEL, ViewController* child) {
    if (child == nullptr || child == self || stateOf(child).parent == self) return;
    Ref<ViewController> kept = child;  // through its removal from its old parent
    if (stateOf(child).parent != nullptr) child->removeFromParentViewController();
    child->willMoveToParentViewController(self);
    stateOf(self).children.push_back(std::move(kept));
    stateOf(child).parent = self;
}

void removeFromParentViewController(ViewController* self, SEL) {
    ViewController* parent = stateOf(self).parent;
    if (parent == nullptr) return;
    auto& siblings = stateOf(parent).children;
    auto it = std::find_if(siblings.begin(), siblings.end(),
                           [self](const Ref<ViewController>& c) { return c.get() == self; });
    stateOf(self).parent = nullptr;
    if (it == siblings.end()) return;
    // The parent's reference, let go of once the controller has heard.
    Ref<ViewController> gone = std::move(*it);
    siblings.erase(it);
    self->didMoveToParentViewController(nullptr);
}

void movedToParent(id, SEL, id) {}

// --- rotation -----------------------------------------------------------------

// The children whose views are in a window, each retained for the caller.
std::vector<Ref<ViewController>> visibleChildren(id self) {
    std::vector<Ref<ViewController>> out;
    for (ViewController* child : stateOf(self).children) {
        View* v = stateOf(child).view;
        if (v != nullptr && v->window() != nullptr) out.emplace_back(child);
    }
    return out;
}

template <class... Args>
void forwardToVisibleChildren(id self, SEL selector, Args... args) {
    for (ViewController* child : visibleChildren(self)) objc::send<void>(child, selector, args...);
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

void dealloc(ViewController* self, SEL) {
    ControllerState& s = stateOf(self);
    for (ViewController* child : s.children) stateOf(child).parent = nullptr;
    setView(self, nullptr, nullptr);
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
