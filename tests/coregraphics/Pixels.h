// Shared helpers of the Core Graphics tests: contexts in cairo's native
// layout and readers for their pixels.
#pragma once

#include <CoreGraphics/CGCairo.h>
#include <ObjCBridge/AutoreleasePool.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace cgtest {

constexpr uint32_t kNative = kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little;

// A context of its own memory, premultiplied ARGB in 32-bit words.
inline CGContextRef makeContext(size_t width, size_t height) {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(nullptr, width, height, 8, 0, space, kNative);
    CGColorSpaceRelease(space);
    return c;
}

// The premultiplied ARGB word at device pixel (x, y) of a native context.
inline uint32_t pixel(CGContextRef c, size_t x, size_t y) {
    CGContextFlush(c);
    auto* data = static_cast<const unsigned char*>(CGBitmapContextGetData(c));
    return reinterpret_cast<const uint32_t*>(data + y * CGBitmapContextGetBytesPerRow(c))[x];
}

inline unsigned alphaOf(uint32_t p) { return p >> 24; }
inline unsigned redOf(uint32_t p) { return (p >> 16) & 0xFF; }
inline unsigned greenOf(uint32_t p) { return (p >> 8) & 0xFF; }
inline unsigned blueOf(uint32_t p) { return p & 0xFF; }

// Premultiplied ARGB words of an image, row by row.
inline std::vector<uint32_t> imagePixels(CGImageRef image) {
    cairo_surface_t* s = CGCairoImageGetSurface(image);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    std::vector<uint32_t> out;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        out.insert(out.end(), row, row + w);
    }
    return out;
}

// Every test opens a pool and releases its context.
class ContextTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    CGContextRef context(size_t w, size_t h) {
        CGContextRef c = makeContext(w, h);
        owned_.push_back(c);
        return c;
    }
    ~ContextTest() override {
        for (CGContextRef c : owned_) CGContextRelease(c);
    }

private:
    std::vector<CGContextRef> owned_;
};

}  // namespace cgtest
