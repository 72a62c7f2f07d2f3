// A platform colour read as the tests compare it: its components as a
// testcolors::RGBA, for the tests that link UIKit (TestColors.h itself stays
// free of it, for the whole-device tests).
#pragma once

#include "TestColors.h"

#include <Foundation/NSArray.h>
#include <UIKit/UIColor.h>

#include <cmath>
#include <vector>

namespace testcolors {

// The colour's red, green, blue and alpha; all -1 for nil or a colour that
// has no RGB form.
inline RGBA componentsOf(UI::Color* color) {
    RGBA c{-1, -1, -1, -1};
    if (color == nullptr || !color->getRed(&c.r, &c.g, &c.b, &c.a)) return {-1, -1, -1, -1};
    return c;
}

// The same for each colour of a list.
inline std::vector<RGBA> componentsOf(NS::Array* colors) {
    std::vector<RGBA> out;
    for (NSUInteger i = 0; colors != nullptr && i < colors->count(); ++i)
        out.push_back(componentsOf(objc::cast<UI::Color>(colors->objectAtIndex(i))));
    return out;
}

// Whether every component of one is within `tolerance` of the other's; for
// EXPECT_PRED3, which prints both on a failure.
inline bool near(const RGBA& got, const RGBA& want, double tolerance) {
    return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
           std::abs(got.b - want.b) <= tolerance && std::abs(got.a - want.a) <= tolerance;
}

}  // namespace testcolors
