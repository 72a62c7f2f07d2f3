#include <UIKit/UIGraphics.h>
#include <UIKit/UIInput.h>
#include <UIKit/UISlider.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIWindow.h>

#include "ControlDrawing.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <cmath>

namespace UI {
namespace {

struct SliderState {
    float value = 0;
    float minimum = 0;
    float maximum = 1;
    bool continuous = true;
    Ref<Color> minimumTrackTint;
    Ref<Color> maximumTrackTint;
    Ref<Image> normalThumb;
    Ref<Image> highlightedThumb;
    Ref<View> thumbView;  // also a subview
    // While tracking: where the finger holds the thumb, relative to its
    // centre, and the value when the finger went down.
    CGFloat grabOffset = 0;
    float valueAtTouchDown = 0;
};

SliderState& stateOf(objc::AnyObject self) { return objc::state<SliderState>(self); }

// The white disc drawn when no thumb image is set, with room around it for
// its shadow. Made once and kept for the life of the process.
Image* defaultThumbImage() {
    static Image* image = [] {
        const CGFloat side = metrics::kSliderThumbImageSize;
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(side, side), NO, 0);
        CGContextRef c = UIGraphicsGetCurrentContext();
        CGColorRef shadow = CGColorCreateGenericGray(0, 0.3);
        CGContextSetShadowWithColor(c, CGSizeMake(0, 3), 6, shadow);
        CGColorRelease(shadow);
        CGContextSetRGBFillColor(c, 1, 1, 1, 1);
        const CGFloat r = metrics::kSliderThumbDiameter / 2;
        CGContextAddArc(c, side / 2, side / 2, r, 0, 2 * M_PI, 1);
        CGContextFillPath(c);
        // A faint rim keeps the disc visible on white.
        CGContextSetShadowWithColor(c, CGSizeMake(0, 0), 0, nullptr);
        CGContextSetRGBStrokeColor(c, 0, 0, 0, 0.06);
        CGContextSetLineWidth(c, 0.5);
        CGContextAddArc(c, side / 2, side / 2, r - 0.25, 0, 2 * M_PI, 1);
        CGContextStrokePath(c);
        Ref<Image> made = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return made.detach();
    }();
    return image;
}

Image* currentThumbImage(Slider* self, SEL) {
    SliderState& s = stateOf(self);
    if (s.highlightedThumb && self->isHighlighted()) return s.highlightedThumb;
    return s.normalThumb;
}

// The width the thumb travels by: the image's, or the default disc's.
CGFloat thumbWidth(Slider* self) {
    Image* image = currentThumbImage(self, nullptr);
    return image != nullptr ? image->size().width : metrics::kSliderThumbDiameter;
}

float fractionOf(const SliderState& s, float value) {
    return s.maximum > s.minimum ? (value - s.minimum) / (s.maximum - s.minimum) : 0;
}

CGFloat centreXFor(Slider* self, CGRect bounds, float value) {
    CGFloat w = thumbWidth(self);
    CGFloat travel = std::fmax(bounds.size.width - w, 0);
    return bounds.origin.x + w / 2 + travel * fractionOf(stateOf(self), value);
}

float valueForCentreX(Slider* self, CGFloat x) {
    const SliderState& s = stateOf(self);
    CGRect bounds = self->bounds();
    CGFloat w = thumbWidth(self);
    CGFloat travel = bounds.size.width - w;
    double fraction = travel > 0 ? (x - bounds.origin.x - w / 2) / travel : 0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    return static_cast<float>(s.minimum + fraction * (s.maximum - s.minimum));
}

float clamped(const SliderState& s, float value) {
    if (std::isnan(value)) return s.minimum;
    return std::clamp(value, s.minimum, s.maximum);
}

CGRect trackRectForBounds(id, SEL, CGRect bounds) {
    const CGFloat h = metrics::kSliderTrackHeight;
    return CGRectMake(bounds.origin.x, bounds.origin.y + std::round((bounds.size.height - h) / 2), bounds.size.width,
                      h);
}

CGRect thumbRectForBounds(Slider* self, SEL, CGRect bounds, CGRect, float value) {
    Image* image = currentThumbImage(self, nullptr);
    CGSize size =
        image != nullptr ? image->size() : CGSizeMake(metrics::kSliderThumbImageSize, metrics::kSliderThumbImageSize);
    CGFloat cx = centreXFor(self, bounds, value);
    CGFloat cy = bounds.origin.y + bounds.size.height / 2;
    return CGRectMake(cx - size.width / 2, cy - size.height / 2, size.width, size.height);
}

void placeThumb(Slider* self) {
    SliderState& s = stateOf(self);
    if (!s.thumbView) return;
    Image* image = currentThumbImage(self, nullptr);
    if (image == nullptr) image = defaultThumbImage();
    s.thumbView->layer()->setContents(image->CGImage());
    CGRect bounds = self->bounds();
    CGRect track = self->trackRectForBounds(bounds);
    s.thumbView->setFrame(self->thumbRectForBounds(bounds, track, s.value));
}

void changed(Slider* self) {
    placeThumb(self);
    self->setNeedsDisplay();
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UISlider"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    auto* slider = objc::cast<Slider>(self);
    SliderState& s = stateOf(self);
    s.thumbView = objc::adopt(View::alloc()->initWithFrame(CGRectZero));
    s.thumbView->setUserInteractionEnabled(NO);
    slider->addSubview(s.thumbView);
    slider->setOpaque(NO);
    changed(slider);
    return self;
}

float value(Slider* self, SEL) { return stateOf(self).value; }
void setValue(Slider* self, SEL, float v) {
    SliderState& s = stateOf(self);
    s.value = clamped(s, v);
    changed(self);
}
void setValueAnimated(Slider* self, SEL, float v, BOOL animated) {
    if (!animated) {
        self->setValue(v);
        return;
    }
    Ref<Slider> me(self);
    View::animateWithDuration(0.2, 0, UIViewAnimationOptionCurveEaseInOut, [me, v] { me->setValue(v); });
}

float minimumValue(Slider* self, SEL) { return stateOf(self).minimum; }
void setMinimumValue(Slider* self, SEL, float v) {
    SliderState& s = stateOf(self);
    if (std::isnan(v)) return;
    s.minimum = v;
    if (s.maximum < v) s.maximum = v;
    s.value = clamped(s, s.value);
    changed(self);
}
float maximumValue(Slider* self, SEL) { return stateOf(self).maximum; }
void setMaximumValue(Slider* self, SEL, float v) {
    SliderState& s = stateOf(self);
    if (std::isnan(v)) return;
    s.maximum = v;
    if (s.minimum > v) s.minimum = v;
    s.value = clamped(s, s.value);
    changed(self);
}

BOOL isContinuous(Slider* self, SEL) { return stateOf(self).continuous; }
void setContinuous(Slider* self, SEL, BOOL c) { stateOf(self).continuous = c; }

Color* minimumTrackTintColor(Slider* self, SEL) { return stateOf(self).minimumTrackTint; }
void setMinimumTrackTintColor(Slider* self, SEL, Color* color) {
    stateOf(self).minimumTrackTint = color;
    changed(self);
}
Color* maximumTrackTintColor(Slider* self, SEL) { return stateOf(self).maximumTrackTint; }
void setMaximumTrackTintColor(Slider* self, SEL, Color* color) {
    stateOf(self).maximumTrackTint = color;
    changed(self);
}

void setThumbImageForState(Slider* self, SEL, Image* image, UIControlState state) {
    SliderState& s = stateOf(self);
    if (state == UIControlStateNormal) {
        s.normalThumb = image;
    } else if (state == UIControlStateHighlighted) {
        s.highlightedThumb = image;
    } else {
        return;
    }
    changed(self);
}

Image* thumbImageForState(Slider* self, SEL, UIControlState state) {
    SliderState& s = stateOf(self);
    if (state == UIControlStateNormal) return s.normalThumb;
    if (state == UIControlStateHighlighted) return s.highlightedThumb;
    return nullptr;
}

void tintColorDidChange(Slider* self, SEL) { self->setNeedsDisplay(); }
void setHighlighted(Slider* self, SEL, BOOL h) {
    objc::sendSuper<void>(self, "UISlider"_cls, "setHighlighted:"_sel, h);
    placeThumb(self);
}
void layoutSubviews(Slider* self, SEL) { placeThumb(self); }

void drawRect(Slider* self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    SliderState& s = stateOf(self);
    CGRect bounds = self->bounds();
    CGRect track = self->trackRectForBounds(bounds);
    CGFloat split = centreXFor(self, bounds, s.value);
    id minColor = objc::asId(s.minimumTrackTint ? s.minimumTrackTint.get() : self->tintColor());
    id maxColor =
        s.maximumTrackTint ? objc::asId(s.maximumTrackTint.get()) : detail::color(metrics::kSliderMaximumTrack);
    CGFloat radius = track.size.height / 2;
    // Each side is a rounded bar; the inner ends meet square under the thumb.
    CGContextSaveGState(c);
    CGContextClipToRect(c, CGRectMake(track.origin.x, track.origin.y, split - track.origin.x, track.size.height));
    detail::fillRoundedRect(c, track, radius, minColor);
    CGContextRestoreGState(c);
    CGContextSaveGState(c);
    CGContextClipToRect(c, CGRectMake(split, track.origin.y, CGRectGetMaxX(track) - split, track.size.height));
    detail::fillRoundedRect(c, track, radius, maxColor);
    CGContextRestoreGState(c);
}

// The slider answers touches on its thumb even where the thumb reaches
// beyond the slider's own bounds, and within a finger's height of the track.
BOOL pointInside(Slider* self, SEL, CGPoint p, id) {
    CGRect bounds = self->bounds();
    CGFloat extra = std::fmax(0, (44 - bounds.size.height) / 2);
    CGRect area = CGRectInset(bounds, 0, -extra);
    if (View* thumb = stateOf(self).thumbView) area = CGRectUnion(area, thumb->frame());
    return CGRectContainsPoint(area, p) ? YES : NO;
}

CGFloat fingerX(Slider* self, Touch* touch) { return touch->locationInView(self).x; }

void moveTo(Slider* self, float v, bool report) {
    SliderState& s = stateOf(self);
    float before = s.value;
    self->setValue(v);
    if (report && s.continuous && s.value != before) self->sendActionsForControlEvents(UIControlEventValueChanged);
}

BOOL beginTracking(Slider* self, SEL, Touch* touch, id) {
    SliderState& s = stateOf(self);
    s.valueAtTouchDown = s.value;
    CGRect bounds = self->bounds();
    CGFloat x = fingerX(self, touch);
    CGFloat centre = centreXFor(self, bounds, s.value);
    // A finger within the thumb's disc (and never less than a finger's
    // width) grabs it where it is; elsewhere the thumb jumps to the finger.
    CGFloat reach = std::fmax(thumbWidth(self) / 2, 22);
    if (std::fabs(x - centre) <= reach) {
        s.grabOffset = x - centre;
    } else {
        s.grabOffset = 0;
        moveTo(self, valueForCentreX(self, x), true);
    }
    return YES;
}

BOOL continueTracking(Slider* self, SEL, Touch* touch, id) {
    moveTo(self, valueForCentreX(self, fingerX(self, touch) - stateOf(self).grabOffset), true);
    return YES;
}

void endTracking(Slider* self, SEL, Touch* touch, id) {
    SliderState& s = stateOf(self);
    if (touch != nullptr) moveTo(self, valueForCentreX(self, fingerX(self, touch) - s.grabOffset), true);
    if (!s.continuous && s.value != s.valueAtTouchDown) self->sendActionsForControlEvents(UIControlEventValueChanged);
}

}  // namespace

namespace slider {

void dragToValue(Slider* slider, float target) {
    if (slider == nullptr) return;
    Window* window = slider->window();
    if (window == nullptr) objc::fatal("UI::slider::dragToValue needs a slider in a window");
    const SliderState& s = stateOf(slider);
    CGRect bounds = slider->bounds();
    CGFloat y = bounds.origin.y + bounds.size.height / 2;
    CGFloat fromX = centreXFor(slider, bounds, s.value);
    CGFloat toX = centreXFor(slider, bounds, clamped(s, target));
    auto onScreen = [&](CGFloat x) {
        CGPoint p = slider->convertPointToView(CGPointMake(x, y), nullptr);
        CGRect frame = window->frame(), wb = window->bounds();
        return CGPointMake(p.x + frame.origin.x - wb.origin.x, p.y + frame.origin.y - wb.origin.y);
    };
    // The finger goes down on the thumb and travels in even steps, as a
    // finger's movement arrives in several events.
    input::Finger finger(onScreen(fromX));
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) finger.moveTo(onScreen(fromX + (toX - fromX) * i / steps));
    finger.lift();
}

}  // namespace slider

void registerSlider() {
    objc::ClassBuilder("UISlider", "UIControl"_cls)
        .state<SliderState>()
        .method("initWithFrame:", &initWithFrame)
        .method("value", &value)
        .method("setValue:", &setValue)
        .method("setValue:animated:", &setValueAnimated)
        .method("minimumValue", &minimumValue)
        .method("setMinimumValue:", &setMinimumValue)
        .method("maximumValue", &maximumValue)
        .method("setMaximumValue:", &setMaximumValue)
        .method("isContinuous", &isContinuous)
        .method("setContinuous:", &setContinuous)
        .method("minimumTrackTintColor", &minimumTrackTintColor)
        .method("setMinimumTrackTintColor:", &setMinimumTrackTintColor)
        .method("maximumTrackTintColor", &maximumTrackTintColor)
        .method("setMaximumTrackTintColor:", &setMaximumTrackTintColor)
        .method("setThumbImage:forState:", &setThumbImageForState)
        .method("thumbImageForState:", &thumbImageForState)
        .method("currentThumbImage", &currentThumbImage)
        .method("trackRectForBounds:", &trackRectForBounds)
        .method("thumbRectForBounds:trackRect:value:", &thumbRectForBounds)
        .method("tintColorDidChange", &tintColorDidChange)
        .method("setHighlighted:", &setHighlighted)
        .method("layoutSubviews", &layoutSubviews)
        .method("drawRect:", &drawRect)
        .method("pointInside:withEvent:", &pointInside)
        .method("beginTrackingWithTouch:withEvent:", &beginTracking)
        .method("continueTrackingWithTouch:withEvent:", &continueTracking)
        .method("endTrackingWithTouch:withEvent:", &endTracking)
        .build();
}

}  // namespace UI
