#include <UIKit/UIButton.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <cmath>
#include <map>

namespace UI {
namespace {

struct ButtonState {
    UIButtonType type = UIButtonTypeCustom;
    std::map<UIControlState, id> titles;       // each a retained copy
    std::map<UIControlState, id> titleColors;  // each retained
    id titleLabel = nil;                       // retained, also a subview
    ~ButtonState() {
        for (auto& [state, title] : titles) objc::release(title);
        for (auto& [state, color] : titleColors) objc::release(color);
        objc::release(titleLabel);
    }
};

ButtonState& stateOf(id self) { return objc::state<ButtonState>(self); }

// The value for the control's state: its own, else the normal state's.
id lookUp(const std::map<UIControlState, id>& values, UIControlState state) {
    auto it = values.find(state);
    if (it == values.end() && (state & UIControlStateHighlighted)) it = values.find(UIControlStateHighlighted);
    if (it == values.end() && (state & UIControlStateDisabled)) it = values.find(UIControlStateDisabled);
    if (it == values.end() && (state & UIControlStateSelected)) it = values.find(UIControlStateSelected);
    if (it == values.end()) it = values.find(UIControlStateNormal);
    return it == values.end() ? nil : it->second;
}

id currentTitleColor(id self) {
    ButtonState& s = stateOf(self);
    UIControlState state = objc::send<UIControlState>(self, "state"_sel);
    if (id own = lookUp(s.titleColors, state)) return own;
    if (s.type != UIButtonTypeSystem) return objc::asId(Color::whiteColor());
    id tint = objc::send<id>(self, "tintColor"_sel);
    if (state & UIControlStateDisabled) return objc::asId(Color::colorWithWhite(0.56, 0.5));
    if (state & UIControlStateHighlighted) {
        return objc::send<id>(tint, "colorWithAlphaComponent:"_sel, metrics::kHighlightedAlpha);
    }
    return tint;
}

// Shows the title and colour of the current state in the title label.
void refresh(id self) {
    ButtonState& s = stateOf(self);
    if (s.titleLabel == nil) return;
    UIControlState state = objc::send<UIControlState>(self, "state"_sel);
    objc::send<void>(s.titleLabel, "setText:"_sel, lookUp(s.titles, state));
    objc::send<void>(s.titleLabel, "setTextColor:"_sel, currentTitleColor(self));
    objc::send<void>(self, "setNeedsLayout"_sel);
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UIButton"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    id label = objc::send<id>(objc::send<id>("UILabel"_cls, "alloc"_sel), "initWithFrame:"_sel, CGRectZero);
    objc::send<void>(label, "setFont:"_sel, detail::systemFont(metrics::kButtonTextSize, false));
    objc::send<void>(label, "setTextAlignment:"_sel, NSTextAlignmentCenter);
    stateOf(self).titleLabel = label;
    objc::send<void>(self, "addSubview:"_sel, label);
    objc::send<void>(self, "setOpaque:"_sel, NO);
    refresh(self);
    return self;
}

id buttonWithType(Class self, SEL, UIButtonType type) {
    id button = objc::send<id>(objc::send<id>(self, "alloc"_sel), "initWithFrame:"_sel, CGRectZero);
    stateOf(button).type = type;
    refresh(button);
    return objc::send<id>(button, "autorelease"_sel);
}

UIButtonType buttonType(id self, SEL) { return stateOf(self).type; }

void setTitleForState(id self, SEL, id title, UIControlState state) {
    auto& titles = stateOf(self).titles;
    auto it = titles.find(state);
    if (it != titles.end()) {
        objc::release(it->second);
        titles.erase(it);
    }
    if (title != nil) titles[state] = objc::send<id>(title, "copy"_sel);
    refresh(self);
}

id titleForState(id self, SEL, UIControlState state) { return lookUp(stateOf(self).titles, state); }

void setTitleColorForState(id self, SEL, id color, UIControlState state) {
    auto& colors = stateOf(self).titleColors;
    auto it = colors.find(state);
    if (it != colors.end()) {
        objc::release(it->second);
        colors.erase(it);
    }
    if (color != nil) colors[state] = objc::retain(color);
    refresh(self);
}

id titleColorForState(id self, SEL, UIControlState state) {
    if (id own = lookUp(stateOf(self).titleColors, state)) return own;
    return stateOf(self).type == UIButtonTypeSystem ? objc::send<id>(self, "tintColor"_sel)
                                                    : objc::asId(Color::whiteColor());
}

id currentTitle(id self, SEL) { return lookUp(stateOf(self).titles, objc::send<UIControlState>(self, "state"_sel)); }

id titleLabel(id self, SEL) { return stateOf(self).titleLabel; }

void setHighlighted(id self, SEL, BOOL highlighted) {
    objc::sendSuper<void>(self, "UIButton"_cls, "setHighlighted:"_sel, highlighted);
    refresh(self);
}
void setEnabled(id self, SEL, BOOL enabled) {
    objc::sendSuper<void>(self, "UIButton"_cls, "setEnabled:"_sel, enabled);
    refresh(self);
}
void setSelected(id self, SEL, BOOL selected) {
    objc::sendSuper<void>(self, "UIButton"_cls, "setSelected:"_sel, selected);
    refresh(self);
}
void tintColorDidChange(id self, SEL) { refresh(self); }

// The title keeps its natural size, centred in the button.
void layoutSubviews(id self, SEL) {
    id label = stateOf(self).titleLabel;
    if (label == nil) return;
    CGRect bounds = objc::send<CGRect>(self, "bounds"_sel);
    CGSize size = objc::send<CGSize>(label, "sizeThatFits:"_sel, bounds.size);
    size.width = std::fmin(size.width, bounds.size.width);
    CGRect frame =
        CGRectMake(std::round(bounds.origin.x + (bounds.size.width - size.width) / 2),
                   std::round(bounds.origin.y + (bounds.size.height - size.height) / 2), size.width, size.height);
    objc::send<void>(label, "setFrame:"_sel, frame);
}

// A system button wants the title with a little room around it.
CGSize sizeThatFits(id self, SEL, CGSize size) {
    CGSize text = objc::send<CGSize>(stateOf(self).titleLabel, "sizeThatFits:"_sel, size);
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
