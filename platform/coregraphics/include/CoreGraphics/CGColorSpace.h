// Colour spaces. Only the device spaces exist: RGB (three components plus
// alpha) and gray (one component plus alpha).
#pragma once

#include <CoreGraphics/CGBase.h>

typedef struct CGColorSpace* CGColorSpaceRef;

enum CGColorSpaceModel : int32_t {
    kCGColorSpaceModelUnknown = -1,
    kCGColorSpaceModelMonochrome = 0,
    kCGColorSpaceModelRGB = 1,
};

CG_EXTERN_C_BEGIN

CG_EXTERN CGColorSpaceRef CGColorSpaceCreateDeviceRGB(void);
CG_EXTERN CGColorSpaceRef CGColorSpaceCreateDeviceGray(void);
CG_EXTERN CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
CG_EXTERN void CGColorSpaceRelease(CGColorSpaceRef space);
CG_EXTERN CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space);
// The number of colour components, alpha not counted (3 for RGB, 1 for gray).
CG_EXTERN size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space);

CG_EXTERN_C_END
