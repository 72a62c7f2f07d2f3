// Bitmap contexts: drawing into a pixel buffer, the caller's or the context's
// own. Origin at the top left, y growing downwards, one unit per pixel.
//
// Layouts: 8 bits per component, 32 bits per pixel, RGB with premultiplied
// alpha first or last, or no alpha (skipped first or last), in the default
// (big-endian) or either 32-bit byte order; and 8-bit alpha-only buffers
// (kCGImageAlphaOnly with a NULL colour space). Any other layout gives NULL.
// The buffer is read once when the context is made; from then on the context
// owns what the buffer shows, and every drawing call leaves its result in the
// buffer by the time it returns.
#pragma once

#include <CoreGraphics/CGContext.h>
#include <CoreGraphics/CGImage.h>

CG_EXTERN_C_BEGIN

// data NULL: the context allocates (zeroed) memory of its own. bytesPerRow 0:
// the smallest row that fits. NULL for a zero or oversized width or height, a
// row shorter than the width, or a layout the context cannot draw into.
CG_EXTERN CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                             size_t bytesPerRow, CGColorSpaceRef space, uint32_t bitmapInfo);
CG_EXTERN void* CGBitmapContextGetData(CGContextRef c);
CG_EXTERN size_t CGBitmapContextGetWidth(CGContextRef c);
CG_EXTERN size_t CGBitmapContextGetHeight(CGContextRef c);
CG_EXTERN size_t CGBitmapContextGetBytesPerRow(CGContextRef c);
CG_EXTERN size_t CGBitmapContextGetBitsPerComponent(CGContextRef c);
CG_EXTERN size_t CGBitmapContextGetBitsPerPixel(CGContextRef c);
CG_EXTERN CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c);
CG_EXTERN CGImageAlphaInfo CGBitmapContextGetAlphaInfo(CGContextRef c);
// A snapshot of the context's pixels; later drawing does not change it.
CG_EXTERN CGImageRef CGBitmapContextCreateImage(CGContextRef c);

CG_EXTERN_C_END
