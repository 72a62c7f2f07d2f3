// Shared pieces of the control and controller tests: the UIKit fixture, a
// recorder class whose methods log what reached them, and helpers to put
// views on screen and touch them.
#pragma once

#include "../uikit/UIKitTesting.h"

#include <UIKit/UIInput.h>

#include <string>
#include <vector>

namespace ctltest {

using uitest::Pixel;

// Every message a Recorder receives, in order, as "selector" (or
// "selector(argument)" when it carries a number).
inline std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

// A runtime class for targets and delegates; each method notes its name.
Class recorderClass();
inline Ref<NS::Object> makeRecorder() {
    return objc::adopt(objc::send<NS::Object*>(objc::send<id>(recorderClass(), "alloc"_sel), "init"_sel));
}

// The centre of a view in screen points (its window at the screen origin).
inline CGPoint screenCentre(UI::View* view) {
    CGRect b = view->bounds();
    return view->convertPointToView(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)), nullptr);
}
inline CGPoint screenPoint(UI::View* view, CGPoint p) { return view->convertPointToView(p, nullptr); }

inline bool near(const Pixel& a, const Pixel& b, int tolerance = 2) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance &&
           std::abs(a.a - b.a) <= tolerance;
}

class ControlsTest : public uitest::UIKitTest {
protected:
    ControlsTest() { journal().clear(); }

    // A shown key window over the whole screen, white.
    UI::Window* showWindow() {
        if (!window_) {
            window_ = objc::adopt(UI::Window::alloc()->init());
            window_->setBackgroundColor(UI::Color::whiteColor());
            window_->makeKeyAndVisible();
        }
        return window_.get();
    }

    Ref<UI::Window> window_;
};

}  // namespace ctltest
