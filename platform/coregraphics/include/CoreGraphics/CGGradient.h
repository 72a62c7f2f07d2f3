// Gradients: colour stops at locations from 0 to 1, drawn by the context's
// gradient functions.
#pragma once

#include <CoreGraphics/CGColorSpace.h>

typedef struct CGGradient* CGGradientRef;

typedef uint32_t CGGradientDrawingOptions;
inline constexpr CGGradientDrawingOptions kCGGradientDrawsBeforeStartLocation = 1u << 0;
inline constexpr CGGradientDrawingOptions kCGGradientDrawsAfterEndLocation = 1u << 1;

CG_EXTERN_C_BEGIN

// components holds count colours of the space's components plus alpha each;
// locations holds count values from 0 to 1, or is NULL to spread the colours
// evenly from 0 to 1.
CG_EXTERN CGGradientRef CGGradientCreateWithColorComponents(CGColorSpaceRef space, const CGFloat* components,
                                                            const CGFloat* locations, size_t count);
CG_EXTERN CGGradientRef CGGradientRetain(CGGradientRef gradient);
CG_EXTERN void CGGradientRelease(CGGradientRef gradient);

CG_EXTERN_C_END
