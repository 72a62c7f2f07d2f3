#include <UIKit/UIButton.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <cmath>
#include <map>

namespace UI {
namespace {

struct ButtonState {
    UIButtonType type = UIButtonTypeCustom;
    std::map<UIControlState, Ref<NS::String>> titles;  // each a copy of the string set
    std::map<UIControlState, Ref<Color>> titleColors;
    Ref<Label> titleLabel;  // also a subview
};

ButtonState& stateOf(objc::AnyObject self) { return objc::state<ButtonState>(self); }

// The value for the control's state: its own, else the normal state's.
template <class T>
T* lookUp(const std::map<UIControlState, Ref<T>>& values, UIControlState state) {
    auto it = values.find(state);
    if (it == values.end() && (state & UIControlStateHighlighted)) it = values.find(UIControlStateHighlighted);
    if (it == values.end() && (state & UIControlStateDisabled)) it = values.find(UIControlStateDisabled);
    if (it == values.end() && (state & UIControlStateSelected)) it = values.find(UIControlStateSelected);
    if (it == values.end()) it = values.find(UIControlStateNormal);
    return it == values.end() ? nullptr : it->second.get();
}

Color* currentTitleColor(Button* self) {
    ButtonState& s = stateOf(self);
    UIControlState state = self->state();
    if (Color* own = lookUp(s.titleColors, state)) return own;
    if (s.type != UIButtonTypeSystem) return Color::whiteColor();
    Color* tint = self->tintColor();
    if (state & UIControlStateDisabled) return Color::colorWithWhite(0.56, 0.5);
    if ((state & UIControlStateHighlighted) && tint != nullptr) {
        return tint->colorWithAlphaComponent(metrics::kHighlightedAlpha);
    }
    return tint;
}

// Shows the title and colour of the current state in the title label.
void refresh(Button* self) {
    ButtonState& s = stateOf(self);
    if (!s.titleLabel) return;
    s.titleLabel->setText(lookUp(s.titles, self->state()));
    s.titleLabel->setTextColor(currentTitleColor(self));
    self->setNeedsLayout();
}

Button* initWithFrame(Button* self, SEL, CGRect frame) {
    self = objc::sendSuper<Button*>(self, "UIButton"_cls, "initWithFrame:"_sel, frame);
    if (self == nullptr) return nullptr;
    Ref<Label> label = objc::adopt(Label::alloc()->initWithFrame(CGRectZero));
    label->setFont(objc::cast<Font>(detail::systemFont(metrics::kButtonTextSize, false)));
    label->setTextAlignment(NSTextAlignmentCenter);
    stateOf(self).titleLabel = label;
    self->addSubview(label);
    self->setOpaque(NO);
    refresh(self);
    return self;
}

Button* buttonWithType(Class self, SEL, UIButtonType type) {
    Ref<Button> button = objc::adopt(objc::send<Button*>(self, "alloc"_sel)->initWithFrame(CGRectZero));
    stateOf(button).type = type;
    refresh(button);
    return objc::autoreleased(std::move(button));
}

UIButtonType buttonType(id self, SEL) { return stateOf(self).type; }

void setTitleForState(Button* self, SEL, NS::String* title, UIControlState state) {
    auto& titles = stateOf(self).titles;
    titles.erase(state);
    if (title != nullptr) titles[state] = objc::copyOf(title);
    refresh(self);
}

NS::String* titleForState(id self, SEL, UIControlState state) { return lookUp(stateOf(self).titles, state); }

void setTitleColorForState(Button* self, SEL, Color* color, UIControlState state) {
    auto& colors = stateOf(self).titleColors;
    colors.erase(state);
    if (color != nullptr) colors[state] = color;
    refresh(self);
}

Color* titleColorForState(Button* self, SEL, UIControlState state) {
    if (Color* own = lookUp(stateOf(self).titleColors, state)) return own;
    return stateOf(self).type == UIButtonTypeSystem ? self->tintColor() : Color::whiteColor();
}

NS::String* currentTitle(Button* self, SEL) { return lookUp(stateOf(self).titles, self->state()); }

Label* titleLabel(id self, SEL) { return stateOf(self).titleLabel; }

void setHighlighted(Button* self, SEL, BOOL highlighted) {
    objc::sendSuper<void>(self, "UIButton"_cls, "setHighlighted:"_sel, highlighted);
    refresh(self);
}
void setEnabled(Button* self, SEL, BOOL enabled) {
    objc::sendSuper<void>(self, "UIButton"_cls, "setEnabled:"_sel, enabled);
    refresh(self);
}
void setSelected(Button* self, SEL, BOOL selected) {
    objc::sendSuper<void>(self, "UIButton"_cls, "setSelected:"_sel, selected);
    refresh(self);
}
void tintColorDidChange(Button* self, SEL) { refresh(self); }

// The title keeps its natural size, centred in the button.
void layoutSubviews(Button* self, SEL) {
    Label* label = stateOf(self).titleLabel;
    if (label == nullptr) return;
    CGRect bounds = self->bounds();
    CGSize size = label->sizeThatFits(bounds.size);
    size.width = std::fmin(size.width, bounds.size.width);
    CGRect frame =
        CGRectMake(std::round(bounds.origin.x + (bounds.size.width - size.width) / 2),
                   std::round(bounds.origin.y + (bounds.size.height - size.height) / 2), size.width, size.height);
    label->setFrame(frame);
}

// A system button wants the title with a little room around it.
CGSize sizeThatFits(id self, SEL, CGSize size) {
    Label* label = stateOf(self).titleLabel;
    CGSize text = label != nullptr ? label->sizeThatFits(size) : CGSizeZero;
    return CGSizeMake(std::ceil(text.width + 2 * 8), std::fmax(std::ceil(text.height + 2 * 6), 30));
}

}  // namespace

void registerButton() {
    objc::ClassBuilder("UIButton", "UIControl"_cls)
        .state<ButtonState>()
        .classMethod("buttonWithType:", &buttonWithType)
        .method("initWithFrame:", &initWithFrame)
        .method("buttonType", &buttonType)
        .method("setTitle:forState:", &setTitleForState)
        .method("titleForState:", &titleForState)
        .method("setTitleColor:forState:", &setTitleColorForState)
        .method("titleColorForState:", &titleColorForState)
        .method("currentTitle", &currentTitle)
        .method("titleLabel", &titleLabel)
        .method("setHighlighted:", &setHighlighted)
        .method("setEnabled:", &setEnabled)
        .method("setSelected:", &setSelected)
        .method("tintColorDidChange", &tintColorDidChange)
        .method("layoutSubviews", &layoutSubviews)
        .method("sizeThatFits:", &sizeThatFits)
        .build();
}

}  // namespace UI
