#include <Foundation/NSRunLoop.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIWindow.h>

#include "ApplicationInternals.h"
#include "TouchInternals.h"

namespace UI::input {
namespace {

CGPoint inWindow(id window, CGPoint screenPoint) {
    CGRect frame = objc::send<CGRect>(window, "frame"_sel);
    CGRect bounds = objc::send<CGRect>(window, "bounds"_sel);
    return CGPointMake(screenPoint.x - frame.origin.x + bounds.origin.x,
                       screenPoint.y - frame.origin.y + bounds.origin.y);
}

}  // namespace

Finger::Finger(CGPoint screenPoint) {
    objc::AutoreleasePool pool;
    const auto& windows = detail::shownWindows();
    id hit = nil;
    for (auto it = windows.rbegin(); it != windows.rend() && hit == nil; ++it) {
        hit = objc::send<id>(*it, "hitTest:withEvent:"_sel, inWindow(*it, screenPoint), nil);
        if (hit != nil) window_ = *it;
    }
    if (window_ == nil) return;
    touch_ = detail::createTouch(window_, hit, inWindow(window_, screenPoint), NS::loop::now());
    id event = detail::eventWithTouch(touch_, NS::loop::now());
    objc::send<void>(Application::sharedApplication(), "sendEvent:"_sel, event);
}

Finger::~Finger() {
    if (touch_ != nil) lift();
}

void Finger::send(CGPoint screenPoint, int phase) {
    if (touch_ == nil) return;
    objc::AutoreleasePool pool;
    double now = NS::loop::now();
    detail::moveTouch(touch_, inWindow(window_, screenPoint), static_cast<UITouchPhase>(phase), now);
    id event = detail::eventWithTouch(touch_, now);
    objc::send<void>(Application::sharedApplication(), "sendEvent:"_sel, event);
}

void Finger::moveTo(CGPoint screenPoint) { send(screenPoint, UITouchPhaseMoved); }

void Finger::lift() {
    if (touch_ == nil) return;
    CGPoint at = detail::touchLocationInWindow(touch_);
    CGRect frame = objc::send<CGRect>(window_, "frame"_sel);
    CGRect bounds = objc::send<CGRect>(window_, "bounds"_sel);
    send(CGPointMake(at.x + frame.origin.x - bounds.origin.x, at.y + frame.origin.y - bounds.origin.y),
         UITouchPhaseEnded);
    objc::release(touch_);
    touch_ = nil;
}

void Finger::cancel() {
    if (touch_ == nil) return;
    objc::AutoreleasePool pool;
    double now = NS::loop::now();
    detail::moveTouch(touch_, detail::touchLocationInWindow(touch_), UITouchPhaseCancelled, now);
    objc::send<void>(Application::sharedApplication(), "sendEvent:"_sel, detail::eventWithTouch(touch_, now));
    objc::release(touch_);
    touch_ = nil;
}

View* Finger::view() const { return touch_ ? objc::send<View*>(touch_, "view"_sel) : nullptr; }

void tap(CGPoint screenPoint) {
    Finger finger(screenPoint);
    finger.lift();
}

void drag(CGPoint from, CGPoint to, int intermediatePoints) {
    Finger finger(from);
    int steps = intermediatePoints > 0 ? intermediatePoints : 0;
    for (int i = 1; i <= steps; ++i) {
        double f = static_cast<double>(i) / (steps + 1);
        finger.moveTo(CGPointMake(from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f));
    }
    finger.moveTo(to);
    finger.lift();
}

void longPress(CGPoint screenPoint, double seconds) {
    Finger finger(screenPoint);
    NS::loop::runFor(seconds);
    finger.lift();
}

}  // namespace UI::input
