// UIButton: a control that shows a title per control state in its title
// label. A system button (type 1) draws its title in the tint colour, faded
// while pressed; a custom button (type 0) draws it in the title colour set
// for the state (white by default). A state without a title of its own shows
// the normal state's.
#pragma once

#include <UIKit/UIControl.h>
#include <UIKit/UILabel.h>

namespace UI {

using UIButtonType = NSInteger;
inline constexpr UIButtonType UIButtonTypeCustom = 0;
inline constexpr UIButtonType UIButtonTypeSystem = 1;

class Button : public Control {
public:
    static Button* buttonWithType(UIButtonType type) {
        return objc::send<Button*>("UIButton"_cls, "buttonWithType:"_sel, type);
    }
    static Button* alloc() { return objc::send<Button*>("UIButton"_cls, "alloc"_sel); }
    Button* initWithFrame(CGRect frame) { return objc::send<Button*>(this, "initWithFrame:"_sel, frame); }

    UIButtonType buttonType() const { return objc::send<UIButtonType>(this, "buttonType"_sel); }

    void setTitle(const NS::String* title, UIControlState state) {
        objc::send<void>(this, "setTitle:forState:"_sel, title, state);
    }
    NS::String* titleForState(UIControlState state) const {
        return objc::send<NS::String*>(this, "titleForState:"_sel, state);
    }
    void setTitleColor(Color* color, UIControlState state) {
        objc::send<void>(this, "setTitleColor:forState:"_sel, color, state);
    }
    Color* titleColorForState(UIControlState state) const {
        return objc::send<Color*>(this, "titleColorForState:"_sel, state);
    }
    // What the button shows now.
    NS::String* currentTitle() const { return objc::send<NS::String*>(this, "currentTitle"_sel); }
    Label* titleLabel() const { return objc::send<Label*>(this, "titleLabel"_sel); }
};

}  // namespace UI
