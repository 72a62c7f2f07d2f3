// Colours: immutable, reference counted, in a device colour space. The
// components are the space's colour components followed by alpha: r, g, b, a
// for an RGB colour and w, a for a gray one.
#pragma once

#include <CoreGraphics/CGColorSpace.h>

typedef struct CGColor* CGColorRef;

CG_EXTERN_C_BEGIN

// Reads as many components as the space has, plus alpha. NULL for a NULL space
// or NULL components.
CG_EXTERN CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components);
CG_EXTERN CGColorRef CGColorCreateGenericRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
CG_EXTERN CGColorRef CGColorCreateGenericGray(CGFloat gray, CGFloat alpha);
CG_EXTERN CGColorRef CGColorCreateCopy(CGColorRef color);
CG_EXTERN CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha);
CG_EXTERN CGColorRef CGColorRetain(CGColorRef color);
CG_EXTERN void CGColorRelease(CGColorRef color);

// Two colours are equal when they are in the same kind of space and their
// components are numerically equal. Two NULL colours are equal.
CG_EXTERN bool CGColorEqualToColor(CGColorRef color1, CGColorRef color2);
CG_EXTERN size_t CGColorGetNumberOfComponents(CGColorRef color);
// The colour's own array of components, valid as long as the colour lives.
CG_EXTERN const CGFloat* CGColorGetComponents(CGColorRef color);
CG_EXTERN CGFloat CGColorGetAlpha(CGColorRef color);
// The colour's space, not retained for the caller.
CG_EXTERN CGColorSpaceRef CGColorGetColorSpace(CGColorRef color);

CG_EXTERN_C_END
