// The reference-counted objects behind the CG...Ref handles, except the
// context (Context.h). Private to the library.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <cairo.h>

#include <atomic>
#include <vector>

namespace cg {

// Straight (not premultiplied) RGBA; what every colour turns into for drawing.
struct RGBA {
    double r = 0, g = 0, b = 0, a = 1;
};

// Retain and release for an object with an atomic `refs` member; the object
// is deleted when the last reference goes.
template <class T>
T* retain(T* object) {
    if (object) object->refs.fetch_add(1, std::memory_order_relaxed);
    return object;
}
template <class T>
void release(T* object) {
    if (object && object->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete object;
}

RGBA rgbaOf(CGColorRef color);
// A colour given as the components of a space (gray or RGB) plus alpha.
RGBA rgbaFromComponents(CGColorSpaceModel model, const CGFloat* components);

// The device RGB space shared by every image; never freed.
CGColorSpaceRef sharedDeviceRGB();

}  // namespace cg

struct CGColorSpace {
    std::atomic<int> refs{1};
    CGColorSpaceModel model = kCGColorSpaceModelRGB;
    bool immortal = false;
};

struct CGColor {
    std::atomic<int> refs{1};
    CGColorSpaceRef space = nullptr;  // retained
    size_t count = 0;                 // colour components plus alpha
    CGFloat components[5] = {0, 0, 0, 0, 0};
    ~CGColor() { CGColorSpaceRelease(space); }
};

struct CGImage {
    std::atomic<int> refs{1};
    cairo_surface_t* surface = nullptr;  // premultiplied ARGB32, never drawn into once made
    ~CGImage() { cairo_surface_destroy(surface); }
};

struct CGGradient {
    struct Stop {
        double location;
        cg::RGBA color;
    };
    std::atomic<int> refs{1};
    std::vector<Stop> stops;
};
