#include <Foundation/NSObject.h>
#include <UIKit/UIBarButtonItem.h>
#include <UIKit/UIControl.h>
#include <UIKit/UIGraphics.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "NavigationButton.h"

#include <cmath>

namespace UI::detail {
namespace {

struct NavigationButtonState {
    Ref<BarButtonItem> item;  // nil for a back button
    Ref<NS::String> title;    // a copy of the string given
    bool back = false;
};

NavigationButtonState& stateOf(id self) { return objc::state<NavigationButtonState>(self); }

CGCairoFont fontFor(id self) {
    CGCairoFont font;
    font.size = metrics::kBarButtonTextSize;
    id item = objc::asId(stateOf(self).item.get());
    if (item != nil && objc::send<UIBarButtonItemStyle>(item, "style"_sel) == UIBarButtonItemStyleDone)
        font.weight = 500;
    return font;
}

// The chevron and gap before a back button's title.
CGFloat textOffset(id self) { return stateOf(self).back ? metrics::kBackChevronWidth + metrics::kBackChevronGap : 0; }

id titleOf(id self) {
    NavigationButtonState& s = stateOf(self);
    return s.item ? objc::asId(s.item->title()) : objc::asId(s.title.get());
}

CGSize sizeThatFits(id self, SEL, CGSize) {
    CGFloat width = textOffset(self) + CGCairoTextWidth(fontFor(self), utf8(titleOf(self)));
    return CGSizeMake(std::ceil(width), metrics::kNavigationBarHeight);
}

id currentColor(id self) {
    id item = objc::asId(stateOf(self).item.get());
    id tint = item != nil ? objc::send<id>(item, "tintColor"_sel) : nil;
    if (tint == nil) tint = objc::send<id>(self, "tintColor"_sel);
    if (!objc::send<BOOL>(self, "isEnabled"_sel)) return objc::send<id>(tint, "colorWithAlphaComponent:"_sel, 0.35);
    if (objc::send<BOOL>(self, "isHighlighted"_sel)) {
        return objc::send<id>(tint, "colorWithAlphaComponent:"_sel, metrics::kHighlightedAlpha);
    }
    return tint;
}

void drawRect(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGRect bounds = objc::send<CGRect>(self, "bounds"_sel);
    id color = currentColor(self);
    if (stateOf(self).back) {
        CGRect chevron = CGRectMake(0, std::round((bounds.size.height - metrics::kBackChevronHeight) / 2),
                                    metrics::kBackChevronWidth, metrics::kBackChevronHeight);
        strokeChevron(c, chevron, true, 2.5, color);
    }
    CGCairoFont font = fontFor(self);
    CGCairoFontMetrics m = CGCairoFontGetMetrics(font);
    CGFloat rgba[4];
    componentsOf(color, rgba);
    CGColorRef cg = CGColorCreateGenericRGB(rgba[0], rgba[1], rgba[2], rgba[3]);
    CGFloat baseline = std::round((bounds.size.height + m.capHeight) / 2);
    CGCairoContextShowText(c, font, utf8(titleOf(self)), CGPointMake(textOffset(self), baseline), cg);
    CGColorRelease(cg);
}

void tintColorDidChange(id self, SEL) { objc::send<void>(self, "setNeedsDisplay"_sel); }

// A tap sends the item's action with the item as the sender, as the phone
// does; an item without a target sends it up the responder chain from the
// button.
void itemTapped(id self, SEL, id) {
    id item = objc::asId(stateOf(self).item.get());
    if (item == nil || !objc::send<BOOL>(item, "isEnabled"_sel)) return;
    SEL action = objc::send<SEL>(item, "action"_sel);
    if (action == nullptr) return;
    id receiver = objc::send<id>(item, "target"_sel);
    for (id r = self; receiver == nil && r != nil; r = objc::send<id>(r, "nextResponder"_sel)) {
        if (objc::respondsTo(r, action)) receiver = r;
    }
    if (receiver == nil) return;
    Ref<NS::Object> keep(objc::cast<NS::Object>(item));
    int colons = 0;
    for (const char* p = sel_getName(action); *p; ++p) colons += *p == ':';
    if (colons == 0) {
        objc::send<void>(receiver, action);
    } else if (colons == 1) {
        objc::send<void>(receiver, action, item);
    } else {
        objc::send<void>(receiver, action, item, nil);
    }
}

id make() {
    id button = objc::send<id>(objc::send<id>(objc_getClass("UINavigationButton"), "alloc"_sel), "initWithFrame:"_sel,
                               CGRectZero);
    objc::send<void>(button, "setOpaque:"_sel, NO);
    return objc::send<id>(button, "autorelease"_sel);
}

}  // namespace

id navigationButtonForItem(id item) {
    id button = make();
    stateOf(button).item = objc::cast<BarButtonItem>(item);
    objc::send<void>(button, "setEnabled:"_sel, objc::send<BOOL>(item, "isEnabled"_sel));
    objc::send<void>(button, "addTarget:action:forControlEvents:"_sel, button, "_itemTapped:"_sel,
                     UIControlEventTouchUpInside);
    return button;
}

id navigationBackButton(id title, id target, SEL action) {
    id button = make();
    stateOf(button).title = objc::copyOf(objc::cast<NS::String>(title));
    stateOf(button).back = true;
    objc::send<void>(button, "addTarget:action:forControlEvents:"_sel, target, action, UIControlEventTouchUpInside);
    return button;
}

id navigationButtonItem(id button) { return objc::asId(stateOf(button).item.get()); }
std::string navigationButtonTitle(id button) { return utf8(titleOf(button)); }
bool isNavigationButton(id view) {
    return view != nil && objc::send<BOOL>(view, "isKindOfClass:"_sel, objc_getClass("UINavigationButton"));
}

void registerNavigationButton() {
    objc::ClassBuilder("UINavigationButton", "UIControl"_cls)
        .state<NavigationButtonState>()
        .method("sizeThatFits:", &sizeThatFits)
        .method("drawRect:", &drawRect)
        .method("tintColorDidChange", &tintColorDidChange)
        .method("_itemTapped:", &itemTapped)
        .build();
}

}  // namespace UI::detail
