#include <UIKit/UIScreen.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>

#include "UIKitRegistration.h"
#include "ViewInternals.h"

namespace UI {
namespace {

struct ControllerState {
    id view = nil;  // retained
};

ControllerState& stateOf(id self) { return objc::state<ControllerState>(self); }

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
        if (s.view != nil) objc::send<void>(self, "viewDidLoad"_sel);
    }
    return s.view;
}

BOOL isViewLoaded(id self, SEL) { return stateOf(self).view != nil ? YES : NO; }

void loadView(id self, SEL) {
    id view = objc::send<id>(objc::send<id>("UIView"_cls, "alloc"_sel), "initWithFrame:"_sel,
                             Screen::mainScreen()->bounds());
    objc::send<void>(self, "setView:"_sel, view);
    objc::release(view);
}

void viewDidLoad(id, SEL) {}

id nextResponder(id self, SEL) {
    id v = stateOf(self).view;
    return v != nil ? objc::send<id>(v, "superview"_sel) : nil;
}

void dealloc(id self, SEL) {
    setView(self, nullptr, nil);
    objc::sendSuper<void>(self, "UIViewController"_cls, "dealloc"_sel);
}

}  // namespace

void registerViewController() {
    objc::ClassBuilder("UIViewController", "UIResponder"_cls)
        .state<ControllerState>()
        .method("view", &view)
        .method("setView:", &setView)
        .method("isViewLoaded", &isViewLoaded)
        .method("loadView", &loadView)
        .method("viewDidLoad", &viewDidLoad)
        .method("nextResponder", &nextResponder)
        .method("dealloc", &dealloc)
        .build();
}

}  // namespace UI
