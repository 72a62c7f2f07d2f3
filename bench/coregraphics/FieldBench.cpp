// Painting a 320 × 240 point colour field point by point at scale 2: one
// colour and one 1 × 1 point fill per point, 321 × 241 fills, as a hue and
// saturation field paints itself from scratch.
#include <CoreGraphics/CGCairo.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kW = 320, kH = 240;

CGContextRef fieldContext(uint32_t info) {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(nullptr, kW * 2, kH * 2, 8, 0, space, info);
    CGColorSpaceRelease(space);
    CGContextScaleCTM(c, 2, 2);
    return c;
}

// A colour per point that varies like the field does.
inline void colourAt(int x, int y, double& r, double& g, double& b) {
    const double t = static_cast<double>(x) / kW, h = static_cast<double>(y) / kH;
    r = std::fabs(std::sin(h * 3.1));
    g = t;
    b = 1 - t * h;
}

void paintRGB(CGContextRef c) {
    for (int y = 0; y <= kH; ++y) {
        for (int x = 0; x <= kW; ++x) {
            double r, g, b;
            colourAt(x, y, r, g, b);
            CGContextSetRGBFillColor(c, r, g, b, 1);
            CGContextFillRect(c, CGRectMake(x, y, 1, 1));
        }
    }
}

void BM_FieldRGBFill(benchmark::State& state) {
    CGContextRef c = fieldContext(kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    for (auto _ : state) {
        paintRGB(c);
        benchmark::DoNotOptimize(CGBitmapContextGetData(c));
    }
    CGContextRelease(c);
    state.SetItemsProcessed(state.iterations() * (kW + 1) * (kH + 1));
}
BENCHMARK(BM_FieldRGBFill)->Unit(benchmark::kMillisecond);

// The same with a colour object per point, as a view's colour is set.
void BM_FieldColorObjectFill(benchmark::State& state) {
    CGContextRef c = fieldContext(kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    for (auto _ : state) {
        for (int y = 0; y <= kH; ++y) {
            for (int x = 0; x <= kW; ++x) {
                CGFloat comps[4] = {0, 0, 0, 1};
                colourAt(x, y, comps[0], comps[1], comps[2]);
                CGColorRef color = CGColorCreate(space, comps);
                CGContextSetFillColorWithColor(c, color);
                CGContextFillRect(c, CGRectMake(x, y, 1, 1));
                CGColorRelease(color);
            }
        }
        benchmark::DoNotOptimize(CGBitmapContextGetData(c));
    }
    CGColorSpaceRelease(space);
    CGContextRelease(c);
    state.SetItemsProcessed(state.iterations() * (kW + 1) * (kH + 1));
}
BENCHMARK(BM_FieldColorObjectFill)->Unit(benchmark::kMillisecond);

// Into an RGBA buffer, which the context converts into after each fill.
void BM_FieldRGBAConvertedFill(benchmark::State& state) {
    CGContextRef c = fieldContext(kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    for (auto _ : state) {
        paintRGB(c);
        benchmark::DoNotOptimize(CGBitmapContextGetData(c));
    }
    CGContextRelease(c);
    state.SetItemsProcessed(state.iterations() * (kW + 1) * (kH + 1));
}
BENCHMARK(BM_FieldRGBAConvertedFill)->Unit(benchmark::kMillisecond);

// Through cairo for every fill (a clip path that is not a box turns the direct
// path off while clipping nothing away): the cost the direct path avoids.
void BM_FieldThroughCairo(benchmark::State& state) {
    CGContextRef c = fieldContext(kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    CGContextAddRect(c, CGRectMake(0, 0, kW, kH));
    CGContextClip(c);
    for (auto _ : state) {
        paintRGB(c);
        benchmark::DoNotOptimize(CGBitmapContextGetData(c));
    }
    CGContextRelease(c);
    state.SetItemsProcessed(state.iterations() * (kW + 1) * (kH + 1));
}
BENCHMARK(BM_FieldThroughCairo)->Unit(benchmark::kMillisecond);

// Sampling one point of a painted field: a 1 × 1 RGBA context, moved so the
// point falls on its pixel, the field image drawn into it.
void BM_SampleOnePixel(benchmark::State& state) {
    CGContextRef field = fieldContext(kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    paintRGB(field);
    CGImageRef image = CGBitmapContextCreateImage(field);
    CGContextRelease(field);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    int i = 0;
    for (auto _ : state) {
        unsigned char bytes[4] = {0, 0, 0, 0};
        CGContextRef c = CGBitmapContextCreate(bytes, 1, 1, 8, 4, space, kCGImageAlphaPremultipliedLast);
        CGContextTranslateCTM(c, -(i % kW), -(i % kH));
        CGCairoContextDrawImageUpright(c, CGRectMake(0, 0, kW, kH), image);
        CGContextRelease(c);
        benchmark::DoNotOptimize(bytes[0]);
        ++i;
    }
    CGColorSpaceRelease(space);
    CGImageRelease(image);
}
BENCHMARK(BM_SampleOnePixel)->Unit(benchmark::kMicrosecond);

}  // namespace
