// Shared pieces of the UIKit tests: a fixture with a pool, a device folder, a
// virtual run loop clock and the iPhone 5 screen, and pixel readers.
#pragma once

#include <CoreGraphics/CGCairo.h>
#include <CoreGraphics/CoreGraphics.h>
#include <Device/DevicePath.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIKit.h>
#include <UIKit/UIScreenshot.h>
#include <gtest/gtest.h>

#include "ColorReading.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>

namespace uitest {

using testcolors::Pixel;

inline constexpr Pixel kClear{0, 0, 0, 0};
inline constexpr Pixel kRed{255, 0, 0, 255};
inline constexpr Pixel kGreen{0, 255, 0, 255};
inline constexpr Pixel kBlue{0, 0, 255, 255};
inline constexpr Pixel kWhite{255, 255, 255, 255};
inline constexpr Pixel kBlack{0, 0, 0, 255};

// The colour of the one-point square at (x, y) of the layer, sampled as a
// phone app does: a 1×1 RGBA context (premultiplied, alpha last) translated
// by (−x, −y), the layer rendered into it at one pixel per point.
inline Pixel samplePoint(CA::Layer* layer, CGFloat x, CGFloat y) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(bytes, 1, 1, 8, 4, space, kCGImageAlphaPremultipliedLast);
    CGContextTranslateCTM(c, -x, -y);
    layer->renderInContext(c);
    CGContextRelease(c);
    CGColorSpaceRelease(space);
    return Pixel{bytes[0], bytes[1], bytes[2], bytes[3]};
}
inline Pixel samplePoint(UI::View* view, CGFloat x, CGFloat y) { return samplePoint(view->layer(), x, y); }

// A rendered picture, read pixel by pixel (premultiplied values).
class Picture {
public:
    explicit Picture(CGImageRef image) : image_(image) {}
    ~Picture() {
        if (image_) CGImageRelease(image_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool valid() const { return image_ != nullptr; }
    int width() const { return static_cast<int>(CGImageGetWidth(image_)); }
    int height() const { return static_cast<int>(CGImageGetHeight(image_)); }
    CGImageRef image() const { return image_; }

    // Pixel coordinates.
    Pixel at(int x, int y) const {
        cairo_surface_t* s = CGCairoImageGetSurface(image_);
        cairo_surface_flush(s);
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        std::uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return Pixel{int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF), int(v >> 24)};
    }

private:
    CGImageRef image_;
};

// A view's picture at screen scale (2 pixels per point).
inline Picture pictureOf(UI::View* view) { return Picture(UI::screenshot::createViewImage(view)); }

class UIKitTest : public ::testing::Test {
protected:
    UIKitTest() {
        NS::loop::useVirtualClock();
        UI::screen::setModel(UI::screen::Model::iPhone5);
    }
    ~UIKitTest() override {
        for (UI::Window* w : UI::application::visibleWindows()) w->setHidden(YES);
        NS::loop::cancelAll();
        pool.drain();
        UI::screen::resetModel();
    }

    template <class T = UI::View>
    Ref<T> makeView(CGRect frame, UI::Color* background = nullptr, Class cls = "UIView"_cls) {
        auto* v = objc::send<T*>(objc::send<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame);
        Ref<T> view = objc::adopt(v);
        if (background) view->setBackgroundColor(background);
        return view;
    }

    device::TemporaryDevice device;
    objc::AutoreleasePool pool;
};

}  // namespace uitest
