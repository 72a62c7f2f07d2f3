// The backing bitmap of a layer that draws: a bitmap context at the layer's
// contents scale, kept between paintings and reused while the pixel size
// stays the same. Internal to UIKit.
#pragma once

#include <CoreGraphics/CGCairo.h>

namespace CA::detail {

class BackingStore {
public:
    BackingStore() = default;
    BackingStore(const BackingStore&) = delete;
    BackingStore& operator=(const BackingStore&) = delete;
    ~BackingStore() { clear(); }

    // A cleared bitmap for bounds at the scale, its user space the layer's
    // (bounds.origin at the top left, one unit per point). NULL when the
    // bounds have no pixels. Pair with endPainting.
    CGContextRef beginPainting(CGRect bounds, CGFloat scale);
    void endPainting(CGContextRef context);

    // The painted pixels, or NULL before the first painting.
    cairo_surface_t* surface() const;
    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    CGFloat scale() const { return scale_; }

    void clear();

private:
    CGContextRef context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    CGFloat scale_ = 1;
    bool painted_ = false;
};

}  // namespace CA::detail
