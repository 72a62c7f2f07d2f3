#include "Objects.h"

namespace {

CGColorSpaceRef makeSpace(CGColorSpaceModel model) {
    auto* space = new CGColorSpace;
    space->model = model;
    return space;
}

}  // namespace

namespace cg {

CGColorSpaceRef sharedDeviceRGB() {
    static CGColorSpace* shared = [] {
        auto* space = new CGColorSpace;
        space->immortal = true;
        return space;
    }();
    return shared;
}

}  // namespace cg

extern "C" {

CGColorSpaceRef CGColorSpaceCreateDeviceRGB(void) { return makeSpace(kCGColorSpaceModelRGB); }
CGColorSpaceRef CGColorSpaceCreateDeviceGray(void) { return makeSpace(kCGColorSpaceModelMonochrome); }

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space) { return cg::retain(space); }

void CGColorSpaceRelease(CGColorSpaceRef space) {
    if (space && space->immortal) return;
    cg::release(space);
}

CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space) {
    return space ? space->model : kCGColorSpaceModelUnknown;
}

size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space) {
    if (!space) return 0;
    return space->model == kCGColorSpaceModelMonochrome ? 1 : 3;
}

}  // extern "C"
