#include <CoreGraphics/CGCairo.h>
#include <Device/DevicePath.h>
#include <Foundation/NSData.h>
#include <Foundation/NSString.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>

#include "UIKitRegistration.h"

namespace UI {
namespace {

struct ImageState {
    CGImageRef image = nullptr;  // retained
    CGFloat scale = 1;
    UIImageOrientation orientation = UIImageOrientationUp;
    ~ImageState() {
        if (image != nullptr) CGImageRelease(image);
    }
};

ImageState& stateOf(id self) { return objc::state<ImageState>(self); }

// An image object owns its bitmap; one without a bitmap is not an image.
id adoptImage(id self, CGImageRef image, CGFloat scale, UIImageOrientation orientation) {
    if (image == nullptr) {
        objc::release(self);
        return nil;
    }
    ImageState& s = stateOf(self);
    s.image = image;
    s.scale = scale > 0 ? scale : 1;
    s.orientation = orientation;
    return self;
}

id initWithCGImage(id self, SEL, CGImageRef image, CGFloat scale, UIImageOrientation orientation) {
    if (image != nullptr) CGImageRetain(image);
    return adoptImage(self, image, scale, orientation);
}

id initWithContentsOfFile(id self, SEL, id path) {
    const char* phonePath = path ? objc::cast<NS::String>(path)->UTF8String() : nullptr;
    std::optional<std::string> host = phonePath ? device::hostPath(phonePath) : std::nullopt;
    CGImageRef image = host ? CGCairoImageCreateWithPNGFile(host->c_str()) : nullptr;
    return adoptImage(self, image, 1, UIImageOrientationUp);
}

id initWithData(id self, SEL, id data) {
    auto* d = objc::cast<NS::Data>(data);
    CGImageRef image = d ? CGCairoImageCreateWithPNGData(d->bytes(), d->length()) : nullptr;
    return adoptImage(self, image, 1, UIImageOrientationUp);
}

id autoreleased(id image) { return objc::autorelease(image); }

id imageWithContentsOfFile(Class self, SEL, id path) {
    return autoreleased(initWithContentsOfFile(objc::send<id>(self, "alloc"_sel), nullptr, path));
}
id imageWithData(Class self, SEL, id data) {
    return autoreleased(initWithData(objc::send<id>(self, "alloc"_sel), nullptr, data));
}
id imageWithCGImageScale(Class self, SEL, CGImageRef image, CGFloat scale, UIImageOrientation orientation) {
    auto* allocated = objc::cast<Image>(objc::send<id>(self, "alloc"_sel));
    return autoreleased(objc::asId(allocated->initWithCGImage(image, scale, orientation)));
}
id imageWithCGImage(Class self, SEL, CGImageRef image) {
    return imageWithCGImageScale(self, nullptr, image, 1, UIImageOrientationUp);
}

CGSize size(id self, SEL) {
    const ImageState& s = stateOf(self);
    if (s.image == nullptr) return CGSizeZero;
    CGFloat w = static_cast<CGFloat>(CGImageGetWidth(s.image)) / s.scale;
    CGFloat h = static_cast<CGFloat>(CGImageGetHeight(s.image)) / s.scale;
    // A quarter turn swaps the sides.
    if (s.orientation == UIImageOrientationLeft || s.orientation == UIImageOrientationRight) return CGSizeMake(h, w);
    return CGSizeMake(w, h);
}

CGFloat scale(id self, SEL) { return stateOf(self).scale; }
UIImageOrientation imageOrientation(id self, SEL) { return stateOf(self).orientation; }
CGImageRef cgImage(id self, SEL) { return stateOf(self).image; }

void drawInRect(id self, SEL, CGRect rect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    const ImageState& s = stateOf(self);
    if (c == nullptr || s.image == nullptr) return;
    if (s.orientation == UIImageOrientationUp) {
        CGCairoContextDrawImageUpright(c, rect, s.image);
        return;
    }
    // The other orientations turn the bitmap about the rectangle's centre.
    CGContextSaveGState(c);
    CGContextTranslateCTM(c, rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2);
    CGFloat w = rect.size.width, h = rect.size.height;
    switch (s.orientation) {
    case UIImageOrientationDown: CGContextRotateCTM(c, M_PI); break;
    case UIImageOrientationLeft: CGContextRotateCTM(c, -M_PI / 2), std::swap(w, h); break;
    case UIImageOrientationRight: CGContextRotateCTM(c, M_PI / 2), std::swap(w, h); break;
    default: break;
    }
    CGCairoContextDrawImageUpright(c, CGRectMake(-w / 2, -h / 2, w, h), s.image);
    CGContextRestoreGState(c);
}

void drawAtPoint(Image* self, SEL, CGPoint p) {
    CGSize s = size(objc::asId(self), nullptr);
    self->drawInRect(CGRectMake(p.x, p.y, s.width, s.height));
}

}  // namespace

void registerImage() {
    objc::ClassBuilder("UIImage", "NSObject"_cls)
        .state<ImageState>()
        .method("initWithCGImage:scale:orientation:", &initWithCGImage)
        .method("initWithContentsOfFile:", &initWithContentsOfFile)
        .method("initWithData:", &initWithData)
        .classMethod("imageWithContentsOfFile:", &imageWithContentsOfFile)
        .classMethod("imageWithData:", &imageWithData)
        .classMethod("imageWithCGImage:", &imageWithCGImage)
        .classMethod("imageWithCGImage:scale:orientation:", &imageWithCGImageScale)
        .method("size", &size)
        .method("scale", &scale)
        .method("imageOrientation", &imageOrientation)
        .method("CGImage", &cgImage)
        .method("drawInRect:", &drawInRect)
        .method("drawAtPoint:", &drawAtPoint)
        .build();
}

}  // namespace UI

NS::Data* UIImagePNGRepresentation(const UI::Image* image) {
    CGImageRef cg = image ? image->CGImage() : nullptr;
    if (cg == nullptr) return nullptr;
    std::vector<unsigned char> png = CGCairoImageCopyPNGData(cg);
    if (png.empty()) return nullptr;
    return NS::Data::dataWithBytes(png.data(), png.size());
}
