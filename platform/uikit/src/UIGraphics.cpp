#include <CoreGraphics/CGCairo.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIScreen.h>

#include <cmath>
#include <vector>

namespace {

struct Entry {
    CGContextRef context;  // retained; NULL for an image context that could not be made
    bool imageContext;
    CGFloat scale;
};

std::vector<Entry>& stack() {
    static std::vector<Entry> entries;
    return entries;
}

void popTop() {
    auto& s = stack();
    if (s.empty()) return;
    if (s.back().context != nullptr) CGContextRelease(s.back().context);
    s.pop_back();
}

}  // namespace

extern "C" {

CGContextRef UIGraphicsGetCurrentContext(void) {
    auto& s = stack();
    return s.empty() ? nullptr : s.back().context;
}

void UIGraphicsPushContext(CGContextRef context) {
    if (context != nullptr) CGContextRetain(context);
    stack().push_back(Entry{context, false, 1});
}

void UIGraphicsPopContext(void) {
    auto& s = stack();
    if (!s.empty() && !s.back().imageContext) popTop();
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, BOOL opaque, CGFloat scale) {
    if (!(scale > 0)) scale = UI::Screen::mainScreen()->scale();
    CGContextRef context = nullptr;
    double w = std::ceil(size.width * scale - 1e-9), h = std::ceil(size.height * scale - 1e-9);
    if (w >= 1 && h >= 1 && w <= 16384 && h <= 16384) {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        uint32_t info =
            (opaque ? kCGImageAlphaNoneSkipFirst : kCGImageAlphaPremultipliedFirst) | kCGBitmapByteOrder32Little;
        context = CGBitmapContextCreate(nullptr, static_cast<size_t>(w), static_cast<size_t>(h), 8, 0, space, info);
        CGColorSpaceRelease(space);
        if (context != nullptr) {
            CGContextScaleCTM(context, scale, scale);
            CGCairoContextSetBaseCTM(context, CGContextGetCTM(context));
        }
    }
    // Pushed even when it could not be made, so that the matching end pops it.
    stack().push_back(Entry{context, true, scale});
}

void UIGraphicsBeginImageContext(CGSize size) { UIGraphicsBeginImageContextWithOptions(size, NO, 1); }

UI::Image* UIGraphicsGetImageFromCurrentImageContext(void) {
    auto& s = stack();
    if (s.empty() || !s.back().imageContext || s.back().context == nullptr) return nullptr;
    CGImageRef image = CGBitmapContextCreateImage(s.back().context);
    if (image == nullptr) return nullptr;
    UI::Image* result = UI::Image::imageWithCGImage(image, s.back().scale, UI::UIImageOrientationUp);
    CGImageRelease(image);
    return result;
}

void UIGraphicsEndImageContext(void) {
    auto& s = stack();
    bool hasImageContext = false;
    for (const Entry& e : s) hasImageContext = hasImageContext || e.imageContext;
    if (!hasImageContext) return;
    while (!s.empty() && !s.back().imageContext) popTop();
    popTop();
}

void UIRectFill(CGRect rect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGContextSaveGState(c);
    CGContextSetBlendMode(c, kCGBlendModeCopy);
    CGContextFillRect(c, rect);
    CGContextRestoreGState(c);
}

void UIRectFrame(CGRect rect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    rect = CGRectStandardize(rect);
    CGFloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    if (w <= 0 || h <= 0) return;
    if (w <= 2 || h <= 2) {
        CGContextFillRect(c, rect);
        return;
    }
    CGRect edges[4] = {CGRectMake(x, y, w, 1), CGRectMake(x, y + h - 1, w, 1), CGRectMake(x, y + 1, 1, h - 2),
                       CGRectMake(x + w - 1, y + 1, 1, h - 2)};
    CGContextFillRects(c, edges, 4);
}

}  // extern "C"
