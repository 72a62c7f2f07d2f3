// Rectangle fills that bypass cairo must leave exactly the pixels cairo would
// have left. Each scene is drawn through the context and, as the reference,
// with plain cairo calls on a surface of the same size.
#include "Pixels.h"

#include <cmath>
#include <functional>
#include <string>

namespace {

struct Fill {
    CGRect rect;
    double r, g, b, a;
};

struct Scene {
    std::string name;
    double scale = 1, tx = 0, ty = 0;
    CGRect clip = CGRectNull;  // user-space clip, or none
    double alpha = 1;
    CGBlendMode blend = kCGBlendModeNormal;
    std::vector<Fill> fills;
    size_t expectedDirect;  // fills expected to bypass cairo
};

constexpr int kW = 23, kH = 17;

std::vector<uint32_t> reference(const Scene& s) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
    cairo_t* cr = cairo_create(surface);
    // A starting picture, so that blending has something to blend with.
    cairo_set_source_rgba(cr, 0.2, 0.4, 0.9, 0.6);
    cairo_rectangle(cr, 0, 0, kW, 9);
    cairo_fill(cr);
    cairo_translate(cr, s.tx, s.ty);
    cairo_scale(cr, s.scale, s.scale);
    if (!CGRectIsNull(s.clip)) {
        cairo_rectangle(cr, s.clip.origin.x, s.clip.origin.y, s.clip.size.width, s.clip.size.height);
        cairo_clip(cr);
    }
    cairo_set_operator(cr, s.blend == kCGBlendModeCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
    for (const Fill& f : s.fills) {
        cairo_set_source_rgba(cr, f.r, f.g, f.b, f.a * s.alpha);
        const CGRect r = CGRectStandardize(f.rect);
        cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::vector<uint32_t> out;
    for (int y = 0; y < kH; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                            y * cairo_image_surface_get_stride(surface));
        out.insert(out.end(), row, row + kW);
    }
    cairo_surface_destroy(surface);
    return out;
}

class DirectFillTest : public cgtest::ContextTest {
protected:
    void check(const Scene& s) {
        CGContextRef c = context(kW, kH);
        CGContextSetRGBFillColor(c, 0.2, 0.4, 0.9, 0.6);
        CGContextFillRect(c, CGRectMake(0, 0, kW, 9));
        const size_t before = CGCairoContextDirectFillCount(c);
        CGContextTranslateCTM(c, s.tx, s.ty);
        CGContextScaleCTM(c, s.scale, s.scale);
        if (!CGRectIsNull(s.clip)) CGContextClipToRect(c, s.clip);
        CGContextSetAlpha(c, s.alpha);
        CGContextSetBlendMode(c, s.blend);
        for (const Fill& f : s.fills) {
            CGContextSetRGBFillColor(c, f.r, f.g, f.b, f.a);
            CGContextFillRect(c, f.rect);
        }
        EXPECT_EQ(CGCairoContextDirectFillCount(c) - before, s.expectedDirect) << s.name;
        const std::vector<uint32_t> expected = reference(s);
        int mismatches = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const uint32_t got = cgtest::pixel(c, x, y), want = expected[static_cast<size_t>(y) * kW + x];
                if (got != want && ++mismatches <= 3) {
                    ADD_FAILURE() << s.name << " at (" << x << ", " << y << "): " << std::hex << got << " != " << want;
                }
            }
        }
    }
};

TEST_F(DirectFillTest, MatchesCairoPixelForPixel) {
    const std::vector<Fill> grid = {{CGRectMake(0, 0, 1, 1), 1, 0, 0, 1},
                                    {CGRectMake(1, 0, 1, 1), 0, 1, 0, 1},
                                    {CGRectMake(3, 2, 2, 3), 0.3, 0.6, 0.1, 1},
                                    {CGRectMake(10, 7, 1, 1), 0, 0, 1, 1},
                                    {CGRectMake(11, 8, 1, 1), 0.5, 0.5, 0.5, 1}};
    const std::vector<Scene> scenes = {
        {"opaque at scale 1", 1, 0, 0, CGRectNull, 1, kCGBlendModeNormal, grid, 5},
        {"opaque at scale 2", 2, 0, 0, CGRectNull, 1, kCGBlendModeNormal, grid, 5},
        {"translated by whole pixels", 2, 3, -1, CGRectNull, 1, kCGBlendModeNormal, grid, 5},
        {"past the surface edge",
         2,
         0,
         0,
         CGRectNull,
         1,
         kCGBlendModeNormal,
         {{CGRectMake(10, 7, 3, 3), 1, 0.5, 0, 1}, {CGRectMake(-2, -2, 3, 3), 0, 0.5, 1, 1}},
         2},
        {"negative size",
         1,
         0,
         0,
         CGRectNull,
         1,
         kCGBlendModeNormal,
         {{CGRectMake(8, 8, -4, -3), 0.1, 0.9, 0.4, 1}},
         1},
        {"clipped to whole pixels", 2, 0, 0, CGRectMake(1, 1, 6.5, 5), 1, kCGBlendModeNormal, grid, 5},
        {"clipped to half pixels (slow)", 2, 0, 0, CGRectMake(1.25, 1, 6, 5), 1, kCGBlendModeNormal, grid, 0},
        {"half-pixel rectangles (slow)",
         1,
         0,
         0,
         CGRectNull,
         1,
         kCGBlendModeNormal,
         {{CGRectMake(1.5, 1, 2, 2), 1, 0, 0, 1}, {CGRectMake(4, 4.25, 1, 1), 0, 1, 0, 1}},
         0},
        {"half-pixel translation (slow)", 1, 0.5, 0, CGRectNull, 1, kCGBlendModeNormal, grid, 0},
        {"translucent colours",
         1,
         0,
         0,
         CGRectNull,
         1,
         kCGBlendModeNormal,
         {{CGRectMake(0, 5, 20, 8), 1, 0, 0, 0.5},
          {CGRectMake(2, 6, 9, 9), 0.3, 0.7, 0.2, 0.33},
          {CGRectMake(4, 2, 5, 5), 0.9, 0.9, 0.1, 0.01},
          {CGRectMake(5, 3, 5, 5), 0.9, 0.1, 0.8, 0.999}},
         4},
        {"context alpha", 2, 0, 0, CGRectNull, 0.4, kCGBlendModeNormal, grid, 5},
        {"copy blend mode",
         1,
         0,
         0,
         CGRectNull,
         1,
         kCGBlendModeCopy,
         {{CGRectMake(0, 4, 10, 10), 1, 0, 0, 0.5}, {CGRectMake(12, 0, 4, 4), 0, 0, 0, 0}},
         2},
        {"components out of range",
         1,
         0,
         0,
         CGRectNull,
         1,
         kCGBlendModeNormal,
         {{CGRectMake(0, 0, 5, 5), 1.5, -0.5, 0.5, 2}, {CGRectMake(6, 0, 5, 5), 0.5, 0.5, 0.5, -1}},
         2},
    };
    for (const Scene& s : scenes) check(s);
}

TEST_F(DirectFillTest, EveryColourLevelMatchesCairo) {
    // Every 8-bit level of every component and alpha, opaque and blended.
    for (int level = 0; level <= 255; level += 1) {
        const double v = level / 255.0;
        Scene s{"level " + std::to_string(level),
                1,
                0,
                0,
                CGRectNull,
                1,
                kCGBlendModeNormal,
                {{CGRectMake(0, 0, 3, 3), v, 1 - v, v / 3, 1},
                 {CGRectMake(3, 3, 3, 10), v, 0.5, 1 - v, v},
                 {CGRectMake(1, 6, 4, 4), 0.77, v, 0.12, 1 - v}},
                3};
        check(s);
        if (HasFailure()) break;
    }
}

TEST_F(DirectFillTest, SkippedWithShadowRotationOrPathClip) {
    CGContextRef c = context(10, 10);
    const struct {
        const char* name;
        std::function<void(CGContextRef)> setup;
    } cases[] = {
        {"shadow", [](CGContextRef k) { CGContextSetShadow(k, CGSizeMake(1, 1), 0); }},
        {"rotation", [](CGContextRef k) { CGContextRotateCTM(k, M_PI / 2); }},
        {"path clip",
         [](CGContextRef k) {
             CGContextAddRect(k, CGRectMake(0, 0, 10, 10));
             CGContextClip(k);
         }},
        {"multiply", [](CGContextRef k) { CGContextSetBlendMode(k, kCGBlendModeMultiply); }},
    };
    for (const auto& k : cases) {
        CGContextSaveGState(c);
        k.setup(c);
        const size_t before = CGCairoContextDirectFillCount(c);
        CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
        EXPECT_EQ(CGCairoContextDirectFillCount(c), before) << k.name;
        CGContextRestoreGState(c);
    }
    // Restoring the state brings the direct path back.
    const size_t before = CGCairoContextDirectFillCount(c);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    EXPECT_EQ(CGCairoContextDirectFillCount(c), before + 1);
}

TEST_F(DirectFillTest, CairoDrawingAfterDirectFillsSeesThem) {
    // A direct fill, then a cairo blend over it, then a snapshot: both the
    // snapshot and the pixels show the blended result.
    CGContextRef c = context(4, 4);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 4));
    CGContextSetRGBFillColor(c, 0, 0, 1, 0.5);
    CGContextFillEllipseInRect(c, CGRectMake(-10, -10, 30, 30));
    EXPECT_EQ(cgtest::pixel(c, 1, 1), 0xFF7F0080u);
    CGImageRef image = CGBitmapContextCreateImage(c);
    EXPECT_EQ(cgtest::imagePixels(image)[5], 0xFF7F0080u);
    CGContextSetRGBFillColor(c, 0, 1, 0, 1);
    CGContextFillRect(c, CGRectMake(1, 1, 1, 1));
    EXPECT_EQ(cgtest::imagePixels(image)[5], 0xFF7F0080u) << "a snapshot must not change";
    EXPECT_EQ(cgtest::pixel(c, 1, 1), 0xFF00FF00u);
    CGImageRelease(image);
}

}  // namespace
