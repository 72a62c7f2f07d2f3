#include <CoreGraphics/CGCairo.h>
#include <Foundation/AtomicFile.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIScreenshot.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

#include "ApplicationInternals.h"

#include <cmath>
#include <utility>

namespace UI::screenshot {
namespace {

CGContextRef createContext(CGSize points, CGFloat scale) {
    double w = std::ceil(points.width * scale - 1e-9), h = std::ceil(points.height * scale - 1e-9);
    if (!(w >= 1 && h >= 1 && w <= 16384 && h <= 16384)) return nullptr;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(nullptr, static_cast<size_t>(w), static_cast<size_t>(h), 8, 0, space,
                                           kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    CGColorSpaceRelease(space);
    if (c == nullptr) return nullptr;
    CGContextScaleCTM(c, scale, scale);
    CGCairoContextSetBaseCTM(c, CGContextGetCTM(c));
    return c;
}

CGImageRef finish(CGContextRef c) {
    CGImageRef image = CGBitmapContextCreateImage(c);
    CGContextRelease(c);
    return image;
}

}  // namespace

// The screen as the person sees it: in landscape the picture is landscape
// too. A window that turned with the interface has the turned size and is
// drawn as it is; one that did not (its controller allows portrait only) is
// drawn turned on its side, as it lies on the turned phone.
CGImageRef createScreenImage() {
    updateDisplay();
    Screen* screen = Screen::mainScreen();
    CGRect bounds = screen->bounds();
    const bool landscape = UIInterfaceOrientationIsLandscape(orientation::current());
    if (landscape) std::swap(bounds.size.width, bounds.size.height);
    CGContextRef c = createContext(bounds.size, screen->scale());
    if (c == nullptr) return nullptr;
    CGContextSetRGBFillColor(c, 0, 0, 0, 1);
    CGContextFillRect(c, bounds);
    for (Window* window : detail::shownWindows()) {
        CGRect frame = window->frame();
        CGContextSaveGState(c);
        if (landscape && frame.size.height > frame.size.width) {
            CGContextTranslateCTM(c, bounds.size.width, 0);
            CGContextRotateCTM(c, M_PI / 2);
        }
        CGContextTranslateCTM(c, frame.origin.x, frame.origin.y);
        window->layer()->renderInContext(c);
        CGContextRestoreGState(c);
    }
    return finish(c);
}

CGImageRef createViewImage(View* view) {
    if (view == nullptr) return nullptr;
    updateDisplay();
    view->layoutIfNeeded();
    CGContextRef c = createContext(view->bounds().size, Screen::mainScreen()->scale());
    if (c == nullptr) return nullptr;
    view->layer()->renderInContext(c);
    return finish(c);
}

std::vector<unsigned char> pngData(CGImageRef image) {
    return image ? CGCairoImageCopyPNGData(image) : std::vector<unsigned char>();
}

bool writePNG(CGImageRef image, const std::string& hostPath) {
    std::vector<unsigned char> png = pngData(image);
    return !png.empty() && NS::writeHostFileAtomically(hostPath, png.data(), png.size());
}

bool writeScreenPNG(const std::string& hostPath) {
    CGImageRef image = createScreenImage();
    bool ok = writePNG(image, hostPath);
    if (image) CGImageRelease(image);
    return ok;
}

bool writeViewPNG(View* view, const std::string& hostPath) {
    CGImageRef image = createViewImage(view);
    bool ok = writePNG(image, hostPath);
    if (image) CGImageRelease(image);
    return ok;
}

}  // namespace UI::screenshot
