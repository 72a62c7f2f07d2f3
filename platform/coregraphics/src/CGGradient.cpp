#include <CoreGraphics/CGCairo.h>

#include "Objects.h"

namespace {

// Locations default to an even spread from 0 to 1 (a single colour sits at 0).
double locationAt(const CGFloat* locations, size_t i, size_t count) {
    if (locations) return locations[i];
    return count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0.0;
}

}  // namespace

extern "C" {

CGGradientRef CGGradientCreateWithColorComponents(CGColorSpaceRef space, const CGFloat* components,
                                                  const CGFloat* locations, size_t count) {
    if (!space || !components || count == 0) return nullptr;
    const size_t stride = CGColorSpaceGetNumberOfComponents(space) + 1;
    auto* gradient = new CGGradient;
    for (size_t i = 0; i < count; ++i) {
        gradient->stops.push_back(
            {locationAt(locations, i, count), cg::rgbaFromComponents(space->model, components + i * stride)});
    }
    return gradient;
}

CGGradientRef CGGradientRetain(CGGradientRef gradient) { return cg::retain(gradient); }
void CGGradientRelease(CGGradientRef gradient) { cg::release(gradient); }

}  // extern "C"

CGGradientRef CGCairoGradientCreateWithColors(CGColorSpaceRef space, const CGColorRef* colors, const CGFloat* locations,
                                              size_t count) {
    if (!space || !colors || count == 0) return nullptr;
    auto* gradient = new CGGradient;
    for (size_t i = 0; i < count; ++i) {
        cg::RGBA color = cg::rgbaOf(colors[i]);
        // A gray space keeps only the gray level, as the colour's components
        // would be converted on the phone.
        if (space->model == kCGColorSpaceModelMonochrome) {
            const double gray = 0.299 * color.r + 0.587 * color.g + 0.114 * color.b;
            color.r = color.g = color.b = gray;
        }
        gradient->stops.push_back({locationAt(locations, i, count), color});
    }
    return gradient;
}
