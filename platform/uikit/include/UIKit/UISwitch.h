// UISwitch: an on/off control of the fixed size 51 × 31 (a frame of
// another size keeps its origin and takes this size). On, it is filled with
// the on tint (#4CD964) and the knob sits right; off, it is white with a
// #E3E3E8 border (the tint colour) and the knob sits left. A tap toggles it
// and sends value-changed; setting it from code sends nothing.
#pragma once

#include <UIKit/UIControl.h>

namespace UI {

class Switch : public Control {
public:
    static Switch* alloc() { return objc::send<Switch*>("UISwitch"_cls, "alloc"_sel); }
    Switch* initWithFrame(CGRect frame) { return objc::send<Switch*>(this, "initWithFrame:"_sel, frame); }

    BOOL isOn() const { return objc::send<BOOL>(this, "isOn"_sel); }
    void setOn(BOOL on) { objc::send<void>(this, "setOn:"_sel, on); }
    void setOn(BOOL on, BOOL animated) { objc::send<void>(this, "setOn:animated:"_sel, on, animated); }

    // nil: #4CD964.
    Color* onTintColor() const { return objc::send<Color*>(this, "onTintColor"_sel); }
    void setOnTintColor(Color* color) { objc::send<void>(this, "setOnTintColor:"_sel, color); }
    // nil: white.
    Color* thumbTintColor() const { return objc::send<Color*>(this, "thumbTintColor"_sel); }
    void setThumbTintColor(Color* color) { objc::send<void>(this, "setThumbTintColor:"_sel, color); }
};

}  // namespace UI
