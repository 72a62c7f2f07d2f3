// UIImage: an immutable bitmap with a scale; its size is in points (pixels
// divided by the scale). Files are PNG images named by their phone paths and
// read at scale 1, so a loaded image's size is its size in pixels. A file
// that is missing or not a PNG image gives nil.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSObject.h>
#include <UIKit/UIKitEncodings.h>

namespace NS {
class Data;
class String;
}  // namespace NS

namespace UI {

enum UIImageOrientation : NSInteger {
    UIImageOrientationUp = 0,
    UIImageOrientationDown = 1,
    UIImageOrientationLeft = 2,
    UIImageOrientationRight = 3,
};

class Image : public NS::Object {
public:
    static Image* alloc() { return objc::send<Image*>("UIImage"_cls, "alloc"_sel); }
    static Image* imageWithContentsOfFile(const NS::String* path) {
        return objc::send<Image*>("UIImage"_cls, "imageWithContentsOfFile:"_sel, path);
    }
    static Image* imageWithCGImage(CGImageRef image) {
        return objc::send<Image*>("UIImage"_cls, "imageWithCGImage:"_sel, image);
    }
    static Image* imageWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation) {
        return objc::send<Image*>("UIImage"_cls, "imageWithCGImage:scale:orientation:"_sel, image, scale, orientation);
    }
    static Image* imageWithData(const NS::Data* data) {
        return objc::send<Image*>("UIImage"_cls, "imageWithData:"_sel, data);
    }

    Image* initWithContentsOfFile(const NS::String* path) {
        return objc::send<Image*>(this, "initWithContentsOfFile:"_sel, path);
    }
    Image* initWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation) {
        return objc::send<Image*>(this, "initWithCGImage:scale:orientation:"_sel, image, scale, orientation);
    }
    Image* initWithData(const NS::Data* data) { return objc::send<Image*>(this, "initWithData:"_sel, data); }

    CGSize size() const { return objc::send<CGSize>(this, "size"_sel); }
    CGFloat scale() const { return objc::send<CGFloat>(this, "scale"_sel); }
    UIImageOrientation imageOrientation() const { return objc::send<UIImageOrientation>(this, "imageOrientation"_sel); }
    // Owned by the image.
    CGImageRef CGImage() const { return objc::send<CGImageRef>(this, "CGImage"_sel); }

    // Draw upright into the current context (nothing without one).
    void drawInRect(CGRect rect) const { objc::send<void>(this, "drawInRect:"_sel, rect); }
    void drawAtPoint(CGPoint point) const { objc::send<void>(this, "drawAtPoint:"_sel, point); }
};

}  // namespace UI

template <>
struct objc::Encoding<UI::UIImageOrientation> {
    static constexpr const char* value = "l";
};

// The image as PNG bytes (autoreleased), or nil for no image.
NS::Data* UIImagePNGRepresentation(const UI::Image* image);
