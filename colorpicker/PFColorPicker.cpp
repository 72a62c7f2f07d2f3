#include "PFColorPicker.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>

namespace colorpicker {
namespace {

struct PickerState {
    Ref<UI::Color> _lastSelectedColor;
    id _delegate = nil;  // not retained
};

PickerState& stateOf(objc::AnyObject self) { return objc::state<PickerState>(self); }

std::ptrdiff_t shouldSaveNewCacheOffset() {
    static const std::ptrdiff_t offset =
        ivar_getOffset(class_getInstanceVariable("PFColorPicker"_cls, "shouldSaveNewCache"));
    return offset;
}

BOOL& shouldSaveNewCacheOf(objc::AnyObject self) {
    return *reinterpret_cast<BOOL*>(reinterpret_cast<char*>(self.get()) + shouldSaveNewCacheOffset());
}

id initWithFrame(PFColorPicker* self, SEL _cmd, CGRect frame) {
    self = objc::sendSuper<PFColorPicker*>(self, "PFColorPicker"_cls, _cmd, frame);
    if (self == nullptr) return nil;
    self->setBackgroundColor(UI::Color::clearColor());
    return objc::asId(self);
}

NS::String* cacheImageNameWithFrame(id, SEL, CGRect frame) {
    return NS::String::stringWithFormat("/tmp/_PFColorPickerImage_%gx%g.png"_ns, static_cast<double>(frame.size.width),
                                        static_cast<double>(frame.size.height));
}

UI::Color* colorWithHueForLocation(id, SEL, CGFloat hue) { return UI::Color::colorWithHue(hue, 1, 1, 1); }

UI::Image* captureView(PFColorPicker* self, SEL) {
    UIGraphicsBeginImageContextWithOptions(self->frame().size, NO, UI::Screen::mainScreen()->scale());
    self->layer()->renderInContext(UIGraphicsGetCurrentContext());
    UI::Image* image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

// A picker cache file fits when it holds exactly the field of this size at
// this screen's scale. The file is read at one pixel per point, so its size is
// its pixel size; dividing by the screen scale gives back the point size it was
// captured at. (Comparing the pixel size with the point size itself would
// never match on a screen of scale 2, and the file would be rewritten at every
// appearance without ever being used.)
bool cachedFieldFits(UI::Image* image, CGRect rect) {
    const CGFloat scale = UI::Screen::mainScreen()->scale();
    const CGSize pixels = image->size();
    return pixels.width / scale == rect.size.width && pixels.height / scale == rect.size.height;
}

bool drawCachedField(CGRect rect) {
    NS::String* path = PFColorPicker::cacheImageNameWithFrame(rect);
    if (!NS::FileManager::defaultManager()->fileExistsAtPath(path)) return false;
    Ref<UI::Image> image = objc::adopt(UI::Image::alloc()->initWithContentsOfFile(path));
    if (!image || !cachedFieldFits(image, rect)) return false;
    image->drawInRect(rect);
    return true;
}

// Paints the field point by point from the view's origin: hue down the
// height; black to the pure hue over the left half, the pure hue to white over
// the right half. Both bounds are inclusive, so the last row and column fall
// just outside the view and are clipped. The saturation and brightness of 2
// stand for "full": the HSB constructor limits them to 1.
void paintField(CGFloat width, CGFloat height) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    if (!(h >= 0)) return;
    for (float y = 0; y <= h; ++y) {
        // Each row's colours go as soon as the row is filled, so a large
        // field never piles them all up in the run loop's pool.
        objc::AutoreleasePool rowPool;
        const float hue = y / h;
        for (float x = 0; x <= w; ++x) {
            const float t = x / w;
            CGFloat saturation, brightness;
            if (t <= 0.5f) {
                saturation = 2.0;
                brightness = 2 * t;
            } else {
                saturation = 2 * (1 - t);
                brightness = 2.0;
            }
            UI::Color::colorWithHue(hue, saturation, brightness, 1)->setFill();
            CGContextFillRect(context, CGRectMake(x, y, 1, 1));
        }
    }
}

void drawRect(PFColorPicker* self, SEL, CGRect rect) {
    if (drawCachedField(rect)) return;
    paintField(rect.size.width, rect.size.height);
    self->shouldSaveNewCache() = YES;
}

void saveCache(PFColorPicker* self, SEL) {
    BOOL& shouldSave = self->shouldSaveNewCache();
    if (!shouldSave) return;
    NS::Data* png = UIImagePNGRepresentation(self->captureView());
    if (png != nullptr) png->writeToFile(PFColorPicker::cacheImageNameWithFrame(self->frame()), YES);
    // Cleared whether or not the write worked: the next save comes only after
    // the next painting from scratch.
    shouldSave = NO;
}

void makeReadyForDisplay(PFColorPicker* self, SEL) {
    Ref<UI::PanGestureRecognizer> pan =
        objc::adopt(UI::PanGestureRecognizer::alloc()->initWithTarget(self, "selectColor:"_sel));
    self->addGestureRecognizer(pan);
    self->setUserInteractionEnabled(YES);
}

// Renders the layer into a single pixel whose square is the one point at p.
// The bytes are taken as stored (premultiplied), which for the opaque field is
// the colour itself; where nothing was rendered the colour is transparent
// black.
UI::Color* colorAtPoint(PFColorPicker* self, SEL, CGPoint point) {
    unsigned char pixel[4] = {0, 0, 0, 0};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(pixel, 1, 1, 8, 4, space, kCGImageAlphaPremultipliedLast);
    CGContextTranslateCTM(context, -point.x, -point.y);
    self->layer()->renderInContext(context);
    CGContextRelease(context);
    CGColorSpaceRelease(space);
    return UI::Color::colorWithRed(pixel[0] / 255.0, pixel[1] / 255.0, pixel[2] / 255.0, pixel[3] / 255.0);
}

void useColorAtPoint(PFColorPicker* self, SEL, CGPoint point) {
    PickerState& s = stateOf(self);
    const CGRect frame = self->frame();
    if (CGRectContainsPoint(CGRectMake(0, 0, frame.size.width, frame.size.height), point)) {
        UI::Color* color = self->colorAtPoint(point);
        if (CGColorGetComponents(color->CGColor())[3] != 0) s._lastSelectedColor = color;
    }
    // Until a first colour has been accepted there is nothing to report: the
    // delegate formats and saves what it is given.
    if (!s._lastSelectedColor) return;
    if (objc::respondsTo(s._delegate, "pickedColor:"_sel)) {
        objc::cast<NS::Object>(s._delegate)->performSelector("pickedColor:"_sel, s._lastSelectedColor.get());
    }
}

void selectColor(PFColorPicker* self, SEL, UI::GestureRecognizer* recognizer) {
    self->useColorAtPoint(recognizer->locationInView(self));
}

// A tap never becomes a drag, so it is picked here; the touch is not passed
// on.
void touchesEnded(PFColorPicker* self, SEL, UI::TouchSet* touches, UI::Event*) {
    UI::Touch* touch = touches != nullptr ? touches->anyObject() : nullptr;
    if (touch != nullptr) self->useColorAtPoint(touch->locationInView(self));
}

UI::Color* lastSelectedColor(PFColorPicker* self, SEL) { return stateOf(self)._lastSelectedColor.get(); }
id delegate(PFColorPicker* self, SEL) { return stateOf(self)._delegate; }
void setDelegate(PFColorPicker* self, SEL, id delegate) { stateOf(self)._delegate = delegate; }

}  // namespace

void registerColorPicker() {
    objc::ClassBuilder("PFColorPicker", "UIView"_cls)
        .ivar("shouldSaveNewCache", sizeof(BOOL), alignof(BOOL), objc::Encoding<BOOL>::value)
        .state<PickerState>()
        .method("initWithFrame:", &initWithFrame)
        .method("captureView", &captureView)
        .method("drawRect:", &drawRect)
        .method("saveCache", &saveCache)
        .method("makeReadyForDisplay", &makeReadyForDisplay)
        .method("colorAtPoint:", &colorAtPoint)
        .method("selectColor:", &selectColor)
        .method("touchesEnded:withEvent:", &touchesEnded)
        .method("useColorAtPoint:", &useColorAtPoint)
        .method("lastSelectedColor", &lastSelectedColor)
        .method("delegate", &delegate)
        .method("setDelegate:", &setDelegate)
        .classMethod("cacheImageNameWithFrame:", &cacheImageNameWithFrame)
        .classMethod("colorWithHueForLocation:", &colorWithHueForLocation)
        .build();
}

}  // namespace colorpicker

BOOL& PFColorPicker::shouldSaveNewCache() { return colorpicker::shouldSaveNewCacheOf(this); }
