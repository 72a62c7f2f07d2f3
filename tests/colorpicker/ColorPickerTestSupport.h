// Shared pieces of the colour picker kit's tests: a fixture with a pool, a
// temporary device and the virtual clock, and pixel snapshots of views.
#pragma once

#include "ColorPickerKit.h"

#include <CoreGraphics/CoreGraphics.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include "ColorReading.h"

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

namespace colorpicker_test {

class KitTest : public ::testing::Test {
protected:
    KitTest() {
        colorpicker::registerClasses();
        NS::loop::useVirtualClock();
    }
    ~KitTest() override { NS::loop::cancelAll(); }

    objc::AutoreleasePool pool;
    device::TemporaryDevice device;
};

using testcolors::Pixel;

// Two pixels within one step per channel (the compositor may round a
// premultiplied value either way).
inline bool near(const Pixel& a, const Pixel& b, int tolerance = 1) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance &&
           std::abs(a.a - b.a) <= tolerance;
}

// A view's layer composited into an RGBA buffer of its own, at a scale.
class Snapshot {
public:
    Snapshot(UI::View* view, CGFloat scale = 2) : scale_(scale) {
        const CGSize size = view->bounds().size;
        width_ = static_cast<std::size_t>(std::ceil(size.width * scale));
        height_ = static_cast<std::size_t>(std::ceil(size.height * scale));
        bytes_.assign(width_ * height_ * 4, 0);
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGContextRef context =
            CGBitmapContextCreate(bytes_.data(), width_, height_, 8, width_ * 4, space, kCGImageAlphaPremultipliedLast);
        CGContextScaleCTM(context, scale, scale);
        view->layer()->renderInContext(context);
        CGContextRelease(context);
        CGColorSpaceRelease(space);
    }

    // The pixel whose top-left corner is the point (in points).
    Pixel at(CGFloat x, CGFloat y) const {
        const std::size_t px = static_cast<std::size_t>(x * scale_);
        const std::size_t py = static_cast<std::size_t>(y * scale_);
        if (px >= width_ || py >= height_) return Pixel{-1, -1, -1, -1};
        const unsigned char* p = &bytes_[(py * width_ + px) * 4];
        return Pixel{p[0], p[1], p[2], p[3]};
    }

private:
    CGFloat scale_;
    std::size_t width_ = 0, height_ = 0;
    std::vector<unsigned char> bytes_;
};

inline Pixel pixelOf(UI::Color* color) {
    const testcolors::RGBA c = testcolors::componentsOf(color);
    return Pixel{static_cast<int>(std::lround(c.r * 255)), static_cast<int>(std::lround(c.g * 255)),
                 static_cast<int>(std::lround(c.b * 255)), static_cast<int>(std::lround(c.a * 255))};
}

}  // namespace colorpicker_test
