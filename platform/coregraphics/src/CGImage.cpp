// Images hold one premultiplied ARGB32 cairo surface each. PNG decoding is
// cairo's; encoding is PNGWriter's.
#include <CoreGraphics/CGCairo.h>

#include "Objects.h"
#include "PNGWriter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// An ARGB32 copy of any image surface (RGB24 becomes opaque, A8 black with
// that alpha).
cairo_surface_t* argbCopy(cairo_surface_t* source) {
    if (!source || cairo_surface_status(source) != CAIRO_STATUS_SUCCESS) return nullptr;
    if (cairo_surface_get_type(source) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
    const int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
    if (w <= 0 || h <= 0) return nullptr;
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(copy);
        return nullptr;
    }
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    return copy;
}

CGImageRef imageOwning(cairo_surface_t* surface) {
    if (!surface) return nullptr;
    auto* image = new CGImage;
    image->surface = surface;
    return image;
}

struct ReadCursor {
    const unsigned char* bytes;
    size_t length;
    size_t offset;
};

cairo_status_t readFromMemory(void* closure, unsigned char* data, unsigned int length) {
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (cursor->length - cursor->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, cursor->bytes + cursor->offset, length);
    cursor->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

// A PNG with alpha decodes to an ARGB32 surface already, which the image
// takes as it is; other kinds are converted.
CGImageRef imageFromDecoded(cairo_surface_t* decoded) {
    CGImageRef image = nullptr;
    if (cairo_surface_status(decoded) == CAIRO_STATUS_SUCCESS) {
        if (cairo_image_surface_get_format(decoded) == CAIRO_FORMAT_ARGB32 &&
            cairo_image_surface_get_width(decoded) > 0 && cairo_image_surface_get_height(decoded) > 0) {
            return imageOwning(decoded);
        }
        image = imageOwning(argbCopy(decoded));
    }
    cairo_surface_destroy(decoded);
    return image;
}

}  // namespace

extern "C" {

CGImageRef CGImageRetain(CGImageRef image) { return cg::retain(image); }
void CGImageRelease(CGImageRef image) { cg::release(image); }

size_t CGImageGetWidth(CGImageRef image) {
    return image ? static_cast<size_t>(cairo_image_surface_get_width(image->surface)) : 0;
}
size_t CGImageGetHeight(CGImageRef image) {
    return image ? static_cast<size_t>(cairo_image_surface_get_height(image->surface)) : 0;
}
size_t CGImageGetBitsPerComponent(CGImageRef image) { return image ? 8 : 0; }
size_t CGImageGetBitsPerPixel(CGImageRef image) { return image ? 32 : 0; }
size_t CGImageGetBytesPerRow(CGImageRef image) {
    return image ? static_cast<size_t>(cairo_image_surface_get_stride(image->surface)) : 0;
}
CGImageAlphaInfo CGImageGetAlphaInfo(CGImageRef image) {
    return image ? kCGImageAlphaPremultipliedFirst : kCGImageAlphaNone;
}
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image) {
    return image ? (kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little) : 0;
}
CGColorSpaceRef CGImageGetColorSpace(CGImageRef image) { return image ? cg::sharedDeviceRGB() : nullptr; }

CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect) {
    if (!image) return nullptr;
    const CGFloat w = static_cast<CGFloat>(CGImageGetWidth(image));
    const CGFloat h = static_cast<CGFloat>(CGImageGetHeight(image));
    const CGRect part = CGRectIntersection(CGRectIntegral(rect), CGRectMake(0, 0, w, h));
    if (CGRectIsEmpty(part)) return nullptr;
    const int x = static_cast<int>(part.origin.x), y = static_cast<int>(part.origin.y);
    const int pw = static_cast<int>(part.size.width), ph = static_cast<int>(part.size.height);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image->surface, -x, -y);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    return imageOwning(copy);
}

}  // extern "C"

CGImageRef CGCairoImageCreateWithPNGData(const void* bytes, size_t length) {
    if (!bytes || length == 0) return nullptr;
    ReadCursor cursor{static_cast<const unsigned char*>(bytes), length, 0};
    return imageFromDecoded(cairo_image_surface_create_from_png_stream(readFromMemory, &cursor));
}

CGImageRef CGCairoImageCreateWithPNGFile(const char* hostPath) {
    if (!hostPath) return nullptr;
    return imageFromDecoded(cairo_image_surface_create_from_png(hostPath));
}

std::vector<unsigned char> CGCairoImageCopyPNGData(CGImageRef image) {
    return image ? cg::encodePNG(image->surface) : std::vector<unsigned char>();
}

CGImageRef CGCairoImageCreateWithSurface(cairo_surface_t* surface) {
    if (!surface) return nullptr;
    cairo_surface_flush(surface);
    return imageOwning(argbCopy(surface));
}

cairo_surface_t* CGCairoImageGetSurface(CGImageRef image) { return image ? image->surface : nullptr; }
