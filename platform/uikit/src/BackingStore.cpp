#include "BackingStore.h"

#include <cmath>

namespace CA::detail {
namespace {

// Pixels of a length in points; a fraction of a pixel still needs one.
int pixelsFor(CGFloat points, CGFloat scale) {
    double pixels = std::ceil(points * scale - 1e-9);
    if (!(pixels > 0)) return 0;
    return pixels > 16384 ? 16384 : static_cast<int>(pixels);
}

}  // namespace

CGContextRef BackingStore::beginPainting(CGRect bounds, CGFloat scale) {
    int w = pixelsFor(bounds.size.width, scale);
    int h = pixelsFor(bounds.size.height, scale);
    if (w == 0 || h == 0) {
        clear();
        return nullptr;
    }
    if (context_ == nullptr || w != width_ || h != height_) {
        clear();
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        // Cairo's own pixel layout, so that compositing reads it as it is.
        context_ = CGBitmapContextCreate(nullptr, static_cast<size_t>(w), static_cast<size_t>(h), 8, 0, space,
                                         kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
        CGColorSpaceRelease(space);
        if (context_ == nullptr) return nullptr;
        width_ = w;
        height_ = h;
    } else {
        CGContextClearRect(context_, CGRectMake(0, 0, w, h));
    }
    scale_ = scale;
    CGContextSaveGState(context_);
    CGContextScaleCTM(context_, scale, scale);
    CGCairoContextSetBaseCTM(context_, CGContextGetCTM(context_));
    CGContextTranslateCTM(context_, -bounds.origin.x, -bounds.origin.y);
    return context_;
}

void BackingStore::endPainting(CGContextRef context) {
    if (context != context_ || context == nullptr) return;
    CGContextRestoreGState(context_);
    CGCairoContextSetBaseCTM(context_, CGAffineTransformIdentity);
    painted_ = true;
}

cairo_surface_t* BackingStore::surface() const {
    return painted_ && context_ != nullptr ? CGCairoContextGetSurface(context_) : nullptr;
}

void BackingStore::clear() {
    if (context_ != nullptr) CGContextRelease(context_);
    context_ = nullptr;
    width_ = height_ = 0;
    painted_ = false;
}

}  // namespace CA::detail
