#include <Foundation/NSRunLoop.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIWindow.h>

#include "ApplicationInternals.h"
#include "TouchInternals.h"

namespace UI::input {
namespace {

CGPoint inWindow(const Window* window, CGPoint screenPoint) {
    CGRect frame = window->frame();
    CGRect bounds = window->bounds();
    return CGPointMake(screenPoint.x - frame.origin.x + bounds.origin.x,
                       screenPoint.y - frame.origin.y + bounds.origin.y);
}

}  // namespace

Finger::Finger(CGPoint screenPoint) {
    objc::AutoreleasePool pool;
    const auto& windows = detail::shownWindows();
    View* hit = nullptr;
    for (auto it = windows.rbegin(); it != windows.rend() && hit == nullptr; ++it) {
        Window* window = *it;
        hit = window->hitTest(inWindow(window, screenPoint), nullptr);
        if (hit != nullptr) window_ = window;
    }
    if (window_ == nullptr) return;
    touch_ = detail::createTouch(window_, hit, inWindow(window_, screenPoint), NS::loop::now());
    Application::sharedApplication()->sendEvent(detail::eventWithTouch(touch_, NS::loop::now()));
}

Finger::~Finger() {
    if (touch_ != nullptr) lift();
}

void Finger::send(CGPoint screenPoint, int phase) {
    if (touch_ == nullptr) return;
    objc::AutoreleasePool pool;
    double now = NS::loop::now();
    detail::moveTouch(touch_, inWindow(window_, screenPoint), static_cast<UITouchPhase>(phase), now);
    Application::sharedApplication()->sendEvent(detail::eventWithTouch(touch_, now));
}

void Finger::moveTo(CGPoint screenPoint) { send(screenPoint, UITouchPhaseMoved); }

void Finger::lift() {
    if (touch_ == nullptr) return;
    CGPoint at = detail::touchLocationInWindow(touch_);
    CGRect frame = window_->frame();
    CGRect bounds = window_->bounds();
    send(CGPointMake(at.x + frame.origin.x - bounds.origin.x, at.y + frame.origin.y - bounds.origin.y),
         UITouchPhaseEnded);
    touch_.reset();
}

void Finger::cancel() {
    if (touch_ == nullptr) return;
    objc::AutoreleasePool pool;
    double now = NS::loop::now();
    detail::moveTouch(touch_, detail::touchLocationInWindow(touch_), UITouchPhaseCancelled, now);
    Application::sharedApplication()->sendEvent(detail::eventWithTouch(touch_, now));
    touch_.reset();
}

View* Finger::view() const { return touch_ != nullptr ? touch_->view() : nullptr; }

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
