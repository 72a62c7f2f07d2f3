#include <UIKit/UIApplication.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

#include "ApplicationInternals.h"
#include "LayerState.h"
#include "TouchDelivery.h"
#include "UIKitRegistration.h"

#include <utility>

namespace UI {
namespace {

struct WindowState {
    Ref<ViewController> rootViewController;
};

WindowState& stateOf(objc::AnyObject self) { return objc::state<WindowState>(self); }

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UIWindow"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    // A window is hidden until it is shown.
    objc::sendSuper<void>(self, "UIWindow"_cls, "setHidden:"_sel, BOOL(YES));
    return self;
}

Window* init(Window* self, SEL) { return self->initWithFrame(Screen::mainScreen()->bounds()); }

void dealloc(Window* self, SEL) {
    if (detail::keyWindow() == self) detail::setKeyWindow(nullptr);
    objc::sendSuper<void>(self, "UIWindow"_cls, "dealloc"_sel);
}

void setHidden(Window* self, SEL, BOOL hidden) {
    objc::sendSuper<void>(self, "UIWindow"_cls, "setHidden:"_sel, hidden);
    if (hidden) {
        if (detail::keyWindow() == self) {
            self->resignKeyWindow();
            detail::setKeyWindow(nullptr);
        }
        detail::windowHidden(self);
    } else {
        detail::windowShown(self);
    }
}

void makeKeyWindow(Window* self, SEL) {
    Window* previous = detail::keyWindow();
    if (previous == self) return;
    if (previous != nullptr) previous->resignKeyWindow();
    detail::setKeyWindow(self);
    self->becomeKeyWindow();
}

void makeKeyAndVisible(Window* self, SEL) {
    self->makeKeyWindow();
    self->setHidden(NO);
}

BOOL isKeyWindow(Window* self, SEL) { return detail::keyWindow() == self ? YES : NO; }
void nothing(id, SEL) {}

ViewController* rootViewController(id self, SEL) { return stateOf(self).rootViewController; }

void setRootViewController(Window* self, SEL, ViewController* controller) {
    WindowState& s = stateOf(self);
    if (controller == s.rootViewController) return;
    const Ref<ViewController> old = std::exchange(s.rootViewController, controller);
    if (old && old->isViewLoaded()) {
        View* oldView = old->view();
        if (oldView->superview() == self) oldView->removeFromSuperview();
    }
    if (controller != nullptr) {
        View* view = controller->view();
        view->setFrame(self->bounds());
        self->addSubview(view);
    }
}

id windowScreen(id, SEL) { return objc::asId(Screen::mainScreen()); }
id nextResponder(id, SEL) { return objc::asId(Application::sharedApplication()); }
void sendEvent(Window* self, SEL, Event* event) { detail::deliverTouchEvent(self, event); }

// Paints every drawing layer of the tree that needs it, front to back order
// does not matter here.
void displayTree(id layer) {
    auto& s = CA::detail::stateOf(layer);
    if (s.hidden) return;
    if (s.needsDisplay && CA::detail::drawsContent(layer)) objc::cast<CA::Layer>(layer)->display();
    const std::vector<Ref<CA::Layer>> subs = s.sublayers;  // retained for the walk
    for (CA::Layer* sub : subs) displayTree(objc::asId(sub));
    if (s.mask != nullptr) displayTree(objc::asId(s.mask.get()));
}

}  // namespace

void updateDisplay() {
    const std::vector<Ref<Window>> windows = detail::shownWindows();  // held through the pass
    for (Window* w : windows) w->layoutIfNeeded();
    for (Window* w : windows) displayTree(objc::asId(w->layer()));
}

void registerWindow() {
    objc::ClassBuilder("UIWindow", "UIView"_cls)
        .state<WindowState>()
        .method("initWithFrame:", &initWithFrame)
        .method("init", &init)
        .method("dealloc", &dealloc)
        .method("setHidden:", &setHidden)
        .method("makeKeyWindow", &makeKeyWindow)
        .method("makeKeyAndVisible", &makeKeyAndVisible)
        .method("isKeyWindow", &isKeyWindow)
        .method("becomeKeyWindow", &nothing)
        .method("resignKeyWindow", &nothing)
        .method("rootViewController", &rootViewController)
        .method("setRootViewController:", &setRootViewController)
        .method("screen", &windowScreen)
        .method("nextResponder", &nextResponder)
        .method("sendEvent:", &sendEvent)
        .build();
}

}  // namespace UI
