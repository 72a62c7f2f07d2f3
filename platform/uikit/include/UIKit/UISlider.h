// UISlider: a value between a minimum and a maximum, shown as a thumb on a
// 2-point track: the tint colour (or the minimum track tint) left of the
// thumb, #B7B7B7 (or the maximum track tint) right of it. The thumb is the
// image set for the current state, centred on the value's position, or a
// 28-point white disc with a soft shadow. Values are clamped to the range.
//
// A finger on the thumb drags it; a finger on the track moves the thumb
// there first. A continuous slider sends value-changed (0x1000) on every
// move that changes the value; one that is not continuous sends it once, at
// touch-up, when the value changed. Setting the value from code sends
// nothing.
#pragma once

#include <UIKit/UIControl.h>
#include <UIKit/UIImage.h>

namespace UI {

class Slider : public Control {
public:
    static Slider* alloc() { return objc::send<Slider*>("UISlider"_cls, "alloc"_sel); }
    Slider* initWithFrame(CGRect frame) { return objc::send<Slider*>(this, "initWithFrame:"_sel, frame); }

    float value() const { return objc::send<float>(this, "value"_sel); }
    void setValue(float value) { objc::send<void>(this, "setValue:"_sel, value); }
    void setValue(float value, BOOL animated) { objc::send<void>(this, "setValue:animated:"_sel, value, animated); }
    // A minimum above the maximum raises the maximum to it (and a maximum
    // below the minimum lowers the minimum); the value is clamped again.
    float minimumValue() const { return objc::send<float>(this, "minimumValue"_sel); }
    void setMinimumValue(float value) { objc::send<void>(this, "setMinimumValue:"_sel, value); }
    float maximumValue() const { return objc::send<float>(this, "maximumValue"_sel); }
    void setMaximumValue(float value) { objc::send<void>(this, "setMaximumValue:"_sel, value); }
    BOOL isContinuous() const { return objc::send<BOOL>(this, "isContinuous"_sel); }
    void setContinuous(BOOL continuous) { objc::send<void>(this, "setContinuous:"_sel, continuous); }

    // nil: the tint colour (minimum side) or #B7B7B7 (maximum side).
    Color* minimumTrackTintColor() const { return objc::send<Color*>(this, "minimumTrackTintColor"_sel); }
    void setMinimumTrackTintColor(Color* color) { objc::send<void>(this, "setMinimumTrackTintColor:"_sel, color); }
    Color* maximumTrackTintColor() const { return objc::send<Color*>(this, "maximumTrackTintColor"_sel); }
    void setMaximumTrackTintColor(Color* color) { objc::send<void>(this, "setMaximumTrackTintColor:"_sel, color); }

    // Only the normal (0) and highlighted (1) states have images of their
    // own; the highlighted image shows while a finger is down, when set.
    void setThumbImage(Image* image, UIControlState state) {
        objc::send<void>(this, "setThumbImage:forState:"_sel, image, state);
    }
    // The image set for exactly that state, or nil.
    Image* thumbImageForState(UIControlState state) const {
        return objc::send<Image*>(this, "thumbImageForState:"_sel, state);
    }
    Image* currentThumbImage() const { return objc::send<Image*>(this, "currentThumbImage"_sel); }

    // Geometry in the slider's coordinates.
    CGRect trackRectForBounds(CGRect bounds) const {
        return objc::send<CGRect>(this, "trackRectForBounds:"_sel, bounds);
    }
    CGRect thumbRectForBounds(CGRect bounds, CGRect track, float value) const {
        return objc::send<CGRect>(this, "thumbRectForBounds:trackRect:value:"_sel, bounds, track, value);
    }
};

namespace slider {

// Moves the slider to the value as a finger would, for scripts: a touch
// goes down on the thumb, moves in steps to the value's position and lifts
// there, through the window's touch delivery, so the slider's target-actions
// fire as for a user. The slider must be in a window. The value reached is
// the one the finger's last position gives (within a pixel of the request).
void dragToValue(Slider* slider, float value);

}  // namespace slider
}  // namespace UI
