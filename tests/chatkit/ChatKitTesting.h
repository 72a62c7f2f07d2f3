// Shared pieces of the ChatKit tests: a fixture with a pool, a device, the
// iPhone 5 screen and every ChatKit class, and a point sampler.
#pragma once

#include <ChatKit/ChatKit.h>
#include <Device/DevicePath.h>
#include <UIKit/UIKit.h>
#include <gtest/gtest.h>

#include "ColorReading.h"

#include <cmath>
#include <cstdint>
#include <ostream>

namespace cktest {

using testcolors::Pixel;
using testcolors::rgb;
// Within `tolerance` per channel.
inline bool near(const Pixel& p, const Pixel& q, int tolerance = 2) {
    return std::abs(p.r - q.r) <= tolerance && std::abs(p.g - q.g) <= tolerance && std::abs(p.b - q.b) <= tolerance &&
           std::abs(p.a - q.a) <= tolerance;
}

// The colour at point (x, y) of the view, composited at one pixel per point
// into a 1×1 context translated by (−x, −y), over transparency.
inline Pixel samplePoint(UI::View* view, CGFloat x, CGFloat y) {
    UI::updateDisplay();
    unsigned char bytes[4] = {0, 0, 0, 0};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(bytes, 1, 1, 8, 4, space, kCGImageAlphaPremultipliedLast);
    CGContextTranslateCTM(c, -x, -y);
    view->layer()->renderInContext(c);
    CGContextRelease(c);
    CGColorSpaceRelease(space);
    return Pixel{bytes[0], bytes[1], bytes[2], bytes[3]};
}

class ChatKitTest : public ::testing::Test {
protected:
    ChatKitTest() {
        UI::screen::setModel(UI::screen::Model::iPhone5);
        chatkit::registerClasses();
    }
    ~ChatKitTest() override {
        if (window_) window_->setHidden(YES);
        window_.reset();
        pool.drain();
        UI::screen::resetModel();
    }

    // Puts the view on screen at its frame, in a window of the screen's size,
    // so that layout and painting reach it as they reach an app's views.
    template <class V>
    V* show(V* view) {
        if (!window_) {
            window_ = objc::adopt(UI::Window::alloc()->init());
            window_->makeKeyAndVisible();
        }
        window_->addSubview(view);
        UI::updateDisplay();
        return view;
    }

    objc::AutoreleasePool pool;
    device::TemporaryDevice device;

private:
    Ref<UI::Window> window_;
};

}  // namespace cktest

namespace cktest {

// Replaces a method's implementation for the life of the object, as a hook
// would, and puts the original back afterwards.
class MethodOverride {
public:
    template <class F>
    MethodOverride(Class cls, SEL selector, F* replacement)
        : method_(class_getInstanceMethod(cls, selector)),
          original_(method_setImplementation(method_, objc::detail::toImp(replacement))) {}
    ~MethodOverride() { method_setImplementation(method_, original_); }
    MethodOverride(const MethodOverride&) = delete;
    MethodOverride& operator=(const MethodOverride&) = delete;

private:
    Method method_;
    IMP original_;
};

}  // namespace cktest
