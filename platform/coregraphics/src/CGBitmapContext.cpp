// Bitmap contexts: choosing between drawing straight into the caller's buffer
// and drawing into a surface of our own that is converted out.
#include "Context.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kMaxDimension = 32767;  // cairo's image limit

bool hostIsLittleEndian() { return __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__; }

struct LayoutChoice {
    bool supported = false;
    cg::PixelLayout layout;
    cairo_format_t format = CAIRO_FORMAT_ARGB32;
    bool cairoNative = false;  // the caller's bytes are exactly cairo's format
};

// Reads the requested layout. The byte positions are for memory order.
LayoutChoice chooseLayout(size_t bitsPerComponent, CGColorSpaceRef space, uint32_t bitmapInfo) {
    LayoutChoice choice;
    const uint32_t alpha = bitmapInfo & kCGBitmapAlphaInfoMask;
    const uint32_t order = bitmapInfo & kCGBitmapByteOrderMask;
    if (bitsPerComponent != 8 || (bitmapInfo & kCGBitmapFloatComponents)) return choice;
    if (alpha == kCGImageAlphaOnly) {
        if (space && CGColorSpaceGetModel(space) != kCGColorSpaceModelUnknown) {
            // An alpha-only buffer has no colour space on the phone either.
            return choice;
        }
        choice.supported = true;
        choice.layout.alphaOnly = true;
        choice.format = CAIRO_FORMAT_A8;
        choice.cairoNative = true;
        return choice;
    }
    if (!space || CGColorSpaceGetModel(space) != kCGColorSpaceModelRGB) return choice;
    if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big && order != kCGBitmapByteOrder32Little) {
        return choice;
    }
    bool first;
    bool hasAlpha;
    switch (alpha) {
    case kCGImageAlphaPremultipliedLast:
        first = false;
        hasAlpha = true;
        break;
    case kCGImageAlphaPremultipliedFirst:
        first = true;
        hasAlpha = true;
        break;
    case kCGImageAlphaNoneSkipLast:
        first = false;
        hasAlpha = false;
        break;
    case kCGImageAlphaNoneSkipFirst:
        first = true;
        hasAlpha = false;
        break;
    default: return choice;  // straight (unpremultiplied) alpha and no-alpha RGB are not drawable
    }
    // In big-endian order the first component is the first byte.
    int a = first ? 0 : 3, r = first ? 1 : 0, g = first ? 2 : 1, b = first ? 3 : 2;
    if (order == kCGBitmapByteOrder32Little) {
        a = 3 - a;
        r = 3 - r;
        g = 3 - g;
        b = 3 - b;
    }
    choice.supported = true;
    choice.layout.red = r;
    choice.layout.green = g;
    choice.layout.blue = b;
    choice.layout.alpha = hasAlpha ? a : -1;
    choice.layout.skip = hasAlpha ? -1 : a;
    choice.format = hasAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24;
    // Cairo's pixels are 32-bit words with alpha (or nothing) in the top byte,
    // then red, green, blue.
    const bool wordOrder = hostIsLittleEndian() ? (order == kCGBitmapByteOrder32Little && first)
                                                : (order != kCGBitmapByteOrder32Little && first);
    choice.cairoNative = wordOrder;
    return choice;
}

inline uint32_t readPixel(const unsigned char* p, const cg::PixelLayout& l) {
    const uint32_t alpha = l.alpha >= 0 ? p[l.alpha] : 0xFFu;
    return alpha << 24 | uint32_t(p[l.red]) << 16 | uint32_t(p[l.green]) << 8 | uint32_t(p[l.blue]);
}

inline void writePixel(unsigned char* p, const cg::PixelLayout& l, uint32_t word) {
    p[l.red] = static_cast<unsigned char>(word >> 16);
    p[l.green] = static_cast<unsigned char>(word >> 8);
    p[l.blue] = static_cast<unsigned char>(word);
    if (l.alpha >= 0) p[l.alpha] = static_cast<unsigned char>(word >> 24);
    if (l.skip >= 0) p[l.skip] = 0xFF;
}

}  // namespace

CGContext::~CGContext() {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
    if (ownsData) std::free(data);
}

void CGContext::willUseCairo() {
    if (!pendingDirty.empty()) {
        cairo_surface_mark_dirty_rectangle(surface, pendingDirty.x0, pendingDirty.y0, pendingDirty.x1 - pendingDirty.x0,
                                           pendingDirty.y1 - pendingDirty.y0);
        pendingDirty = cg::Box{};
    }
}

void CGContext::willWritePixels() {
    if (cairoTouched) {
        cairo_surface_flush(surface);
        cairoTouched = false;
    }
}

void CGContext::didDraw(const cg::Box& box) {
    // While a transparency layer is open, cairo draws into the layer, not into
    // the surface; the surface changes when the layer ends.
    if (storage == cg::Storage::Convert && layers.empty()) {
        if (cairoTouched) {
            cairo_surface_flush(surface);
            cairoTouched = false;
        }
        exportBox(box.intersect(bounds()));
    }
}

void CGContext::exportBox(const cg::Box& box) {
    if (box.empty() || storage != cg::Storage::Convert) return;
    for (int y = box.y0; y < box.y1; ++y) {
        const unsigned char* src = pixels + static_cast<size_t>(y) * stride;
        unsigned char* dst = data + static_cast<size_t>(y) * bytesPerRow;
        if (layout.alphaOnly) {
            std::memcpy(dst + box.x0, src + box.x0, static_cast<size_t>(box.x1 - box.x0));
            continue;
        }
        const auto* words = reinterpret_cast<const uint32_t*>(src);
        for (int x = box.x0; x < box.x1; ++x) writePixel(dst + 4 * static_cast<size_t>(x), layout, words[x]);
    }
}

void CGContext::syncTransform() {
    cairo_get_matrix(cr, &gs.ctm);
    gs.axisAligned = gs.ctm.xy == 0 && gs.ctm.yx == 0;
}

cg::Box CGContext::clipBox() {
    if (gs.clipIsBox) return gs.clip;
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    return cg::deviceBoxOfUserRect(this, x0, y0, x1, y1).intersect(bounds());
}

extern "C" {

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent, size_t bytesPerRow,
                                   CGColorSpaceRef space, uint32_t bitmapInfo) {
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension) return nullptr;
    const LayoutChoice choice = chooseLayout(bitsPerComponent, space, bitmapInfo);
    if (!choice.supported) return nullptr;
    const size_t pixelBytes = choice.layout.alphaOnly ? 1 : 4;
    const size_t minRow = width * pixelBytes;
    if (bytesPerRow == 0) bytesPerRow = data ? minRow : (minRow + 15) / 16 * 16;
    if (bytesPerRow < minRow || bytesPerRow > std::numeric_limits<int>::max() / height) return nullptr;

    auto* c = new CGContext;
    c->width = width;
    c->height = height;
    c->bitsPerComponent = 8;
    c->bitsPerPixel = pixelBytes * 8;
    c->bytesPerRow = bytesPerRow;
    c->bitmapInfo = bitmapInfo;
    c->layout = choice.layout;
    if (!data) {
        data = std::calloc(height, bytesPerRow);
        if (!data) {
            delete c;
            return nullptr;
        }
        c->ownsData = true;
    }
    c->data = static_cast<unsigned char*>(data);

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const bool cairoAccepts = choice.cairoNative && bytesPerRow % 4 == 0 &&
                              reinterpret_cast<uintptr_t>(data) % 4 == 0 &&
                              static_cast<int>(bytesPerRow) >= cairo_format_stride_for_width(choice.format, w);
    if (cairoAccepts) {
        c->storage = cg::Storage::Direct;
        c->surface = cairo_image_surface_create_for_data(c->data, choice.format, w, h, static_cast<int>(bytesPerRow));
    } else {
        c->storage = cg::Storage::Convert;
        c->surface = cairo_image_surface_create(choice.format, w, h);
    }
    if (cairo_surface_status(c->surface) != CAIRO_STATUS_SUCCESS) {
        delete c;
        return nullptr;
    }
    c->pixels = cairo_image_surface_get_data(c->surface);
    c->stride = cairo_image_surface_get_stride(c->surface);
    c->argb32 = choice.format == CAIRO_FORMAT_ARGB32;

    if (c->storage == cg::Storage::Convert) {
        // The caller's buffer is the starting picture.
        for (size_t y = 0; y < height; ++y) {
            const unsigned char* src = c->data + y * bytesPerRow;
            unsigned char* dst = c->pixels + y * static_cast<size_t>(c->stride);
            if (choice.layout.alphaOnly) {
                std::memcpy(dst, src, width);
                continue;
            }
            auto* words = reinterpret_cast<uint32_t*>(dst);
            for (size_t x = 0; x < width; ++x) words[x] = readPixel(src + 4 * x, choice.layout);
        }
        cairo_surface_mark_dirty(c->surface);
    }

    c->cr = cairo_create(c->surface);
    cairo_set_line_width(c->cr, 1.0);
    cairo_set_font_options(c->cr, cg::textFontOptions());
    c->gs.clip = c->bounds();
    c->syncTransform();
    return c;
}

void* CGBitmapContextGetData(CGContextRef c) { return c ? c->data : nullptr; }
size_t CGBitmapContextGetWidth(CGContextRef c) { return c ? c->width : 0; }
size_t CGBitmapContextGetHeight(CGContextRef c) { return c ? c->height : 0; }
size_t CGBitmapContextGetBytesPerRow(CGContextRef c) { return c ? c->bytesPerRow : 0; }
size_t CGBitmapContextGetBitsPerComponent(CGContextRef c) { return c ? c->bitsPerComponent : 0; }
size_t CGBitmapContextGetBitsPerPixel(CGContextRef c) { return c ? c->bitsPerPixel : 0; }
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c) { return c ? c->bitmapInfo : 0; }
CGImageAlphaInfo CGBitmapContextGetAlphaInfo(CGContextRef c) {
    return c ? static_cast<CGImageAlphaInfo>(c->bitmapInfo & kCGBitmapAlphaInfoMask) : kCGImageAlphaNone;
}

CGImageRef CGBitmapContextCreateImage(CGContextRef c) {
    if (!c) return nullptr;
    c->willUseCairo();
    return CGCairoImageCreateWithSurface(c->surface);
}

CGContextRef CGContextRetain(CGContextRef c) { return cg::retain(c); }
void CGContextRelease(CGContextRef c) { cg::release(c); }

void CGContextFlush(CGContextRef c) {
    if (!c) return;
    c->willUseCairo();
    cairo_surface_flush(c->surface);
    c->cairoTouched = false;
    if (c->layers.empty()) c->exportBox(c->bounds());
}

void CGContextSynchronize(CGContextRef c) { CGContextFlush(c); }

}  // extern "C"
