#include "Objects.h"

namespace cg {

RGBA rgbaFromComponents(CGColorSpaceModel model, const CGFloat* c) {
    if (model == kCGColorSpaceModelMonochrome) return RGBA{c[0], c[0], c[0], c[1]};
    return RGBA{c[0], c[1], c[2], c[3]};
}

RGBA rgbaOf(CGColorRef color) {
    if (!color) return RGBA{0, 0, 0, 0};
    return rgbaFromComponents(color->space->model, color->components);
}

}  // namespace cg

extern "C" {

CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components) {
    if (!space || !components) return nullptr;
    auto* color = new CGColor;
    color->space = CGColorSpaceRetain(space);
    color->count = CGColorSpaceGetNumberOfComponents(space) + 1;
    for (size_t i = 0; i < color->count; ++i) color->components[i] = components[i];
    return color;
}

CGColorRef CGColorCreateGenericRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    const CGFloat components[4] = {red, green, blue, alpha};
    CGColorRef color = CGColorCreate(space, components);
    CGColorSpaceRelease(space);
    return color;
}

CGColorRef CGColorCreateGenericGray(CGFloat gray, CGFloat alpha) {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceGray();
    const CGFloat components[2] = {gray, alpha};
    CGColorRef color = CGColorCreate(space, components);
    CGColorSpaceRelease(space);
    return color;
}

CGColorRef CGColorCreateCopy(CGColorRef color) {
    return color ? CGColorCreate(color->space, color->components) : nullptr;
}

CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha) {
    CGColorRef copy = CGColorCreateCopy(color);
    if (copy) copy->components[copy->count - 1] = alpha;
    return copy;
}

CGColorRef CGColorRetain(CGColorRef color) { return cg::retain(color); }
void CGColorRelease(CGColorRef color) { cg::release(color); }

bool CGColorEqualToColor(CGColorRef color1, CGColorRef color2) {
    if (color1 == color2) return true;
    if (!color1 || !color2) return false;
    if (color1->space->model != color2->space->model || color1->count != color2->count) return false;
    for (size_t i = 0; i < color1->count; ++i) {
        if (color1->components[i] != color2->components[i]) return false;
    }
    return true;
}

size_t CGColorGetNumberOfComponents(CGColorRef color) { return color ? color->count : 0; }
const CGFloat* CGColorGetComponents(CGColorRef color) { return color ? color->components : nullptr; }
CGFloat CGColorGetAlpha(CGColorRef color) { return color ? color->components[color->count - 1] : 0; }
CGColorSpaceRef CGColorGetColorSpace(CGColorRef color) { return color ? color->space : nullptr; }

}  // extern "C"
