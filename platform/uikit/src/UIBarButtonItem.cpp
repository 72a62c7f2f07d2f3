#include <UIKit/UIBarButtonItem.h>

#include "BarItemInternals.h"
#include "UIKitRegistration.h"

namespace UI {
namespace {

struct BarButtonItemState {
    Ref<NS::String> title;  // a copy of the string set
    Ref<Color> tintColor;
    id target = nil;  // not owned
    SEL action = nullptr;
    UIBarButtonItemStyle style = UIBarButtonItemStylePlain;
    bool enabled = true;
    id observer = nil;  // not owned
};

BarButtonItemState& stateOf(id self) { return objc::state<BarButtonItemState>(self); }

void changed(id self) {
    if (id observer = stateOf(self).observer) objc::send<void>(observer, "_itemDidChange:"_sel, self);
}

id initWithTitle(id self, SEL, NS::String* title, UIBarButtonItemStyle style, id target, SEL action) {
    self = objc::sendSuper<id>(self, "UIBarButtonItem"_cls, "init"_sel);
    if (self == nil) return nil;
    BarButtonItemState& s = stateOf(self);
    s.title = objc::copyOf(title);
    s.style = style;
    s.target = target;
    s.action = action;
    return self;
}

NS::String* title(id self, SEL) { return stateOf(self).title; }
void setTitle(id self, SEL, NS::String* title) {
    stateOf(self).title = objc::copyOf(title);
    changed(self);
}

UIBarButtonItemStyle style(id self, SEL) { return stateOf(self).style; }
void setStyle(id self, SEL, UIBarButtonItemStyle style) {
    stateOf(self).style = style;
    changed(self);
}

id target(id self, SEL) { return stateOf(self).target; }
void setTarget(id self, SEL, id target) { stateOf(self).target = target; }
SEL action(id self, SEL) { return stateOf(self).action; }
void setAction(id self, SEL, SEL action) { stateOf(self).action = action; }

Color* tintColor(id self, SEL) { return stateOf(self).tintColor; }
void setTintColor(id self, SEL, Color* color) {
    stateOf(self).tintColor = color;
    changed(self);
}

BOOL isEnabled(id self, SEL) { return stateOf(self).enabled; }
void setEnabled(id self, SEL, BOOL enabled) {
    stateOf(self).enabled = enabled;
    changed(self);
}

}  // namespace

namespace detail {
void setBarButtonItemObserver(id item, id observer) {
    if (item != nil) stateOf(item).observer = observer;
}
id barButtonItemObserver(id item) { return item != nil ? stateOf(item).observer : nil; }
}  // namespace detail

void registerBarButtonItem() {
    objc::ClassBuilder("UIBarButtonItem", "NSObject"_cls)
        .state<BarButtonItemState>()
        .method("initWithTitle:style:target:action:", &initWithTitle)
        .method("title", &title)
        .method("setTitle:", &setTitle)
        .method("style", &style)
        .method("setStyle:", &setStyle)
        .method("target", &target)
        .method("setTarget:", &setTarget)
        .method("action", &action)
        .method("setAction:", &setAction)
        .method("tintColor", &tintColor)
        .method("setTintColor:", &setTintColor)
        .method("isEnabled", &isEnabled)
        .method("setEnabled:", &setEnabled)
        .build();
}

}  // namespace UI
