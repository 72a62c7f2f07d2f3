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

NavigationButtonState& stateOf(objc::AnyObject self) { return objc::state<NavigationButtonState>(self); }

CGCairoFont fontFor(Control* self) {
    CGCairoFont font;
    font.size = metrics::kBarButtonTextSize;
    const BarButtonItem* item = stateOf(self).item.get();
    if (item != nullptr && item->style() == UIBarButtonItemStyleDone) font.weight = 500;
    return font;
}

// The chevron and gap before a back button's title.
CGFloat textOffset(const View* self) {
    return stateOf(self).back ? metrics::kBackChevronWidth + metrics::kBackChevronGap : 0;
}

NS::String* titleOf(const View* self) {
    NavigationButtonState& s = stateOf(self);
    return s.item ? s.item->title() : s.title.get();
}

CGSize sizeThatFits(Control* self, SEL, CGSize) {
    CGFloat width = textOffset(self) + CGCairoTextWidth(fontFor(self), utf8(objc::asId(titleOf(self))));
    return CGSizeMake(std::ceil(width), metrics::kNavigationBarHeight);
}

Color* currentColor(Control* self) {
    const BarButtonItem* item = stateOf(self).item.get();
    Color* tint = item != nullptr ? item->tintColor() : nullptr;
    if (tint == nullptr) tint = self->tintColor();
    if (tint == nullptr) return nullptr;
    if (!self->isEnabled()) return tint->colorWithAlphaComponent(0.35);
    if (self->isHighlighted()) return tint->colorWithAlphaComponent(metrics::kHighlightedAlpha);
    return tint;
}

void drawRect(Control* self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGRect bounds = self->bounds();
    id color = objc::asId(currentColor(self));
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
    CGCairoContextShowText(c, font, utf8(objc::asId(titleOf(self))), CGPointMake(textOffset(self), baseline), cg);
    CGColorRelease(cg);
}

void tintColorDidChange(Control* self, SEL) { self->setNeedsDisplay(); }

// A tap sends the item's action with the item as the sender, as the phone
// does; an item without a target sends it up the responder chain from the
// button.
void itemTapped(Control* self, SEL, id) {
    BarButtonItem* item = stateOf(self).item.get();
    if (item == nullptr || !item->isEnabled()) return;
    SEL action = item->action();
    if (action == nullptr) return;
    id receiver = item->target();
    for (Responder* r = self; receiver == nil && r != nullptr; r = r->nextResponder()) {
        if (objc::respondsTo(r, action)) receiver = objc::asId(r);
    }
    if (receiver == nil) return;
    const Ref<BarButtonItem> keep(item);
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

Control* make() {
    auto* allocated = objc::cast<Control>(objc::send<id>("UINavigationButton"_cls, "alloc"_sel));
    Ref<Control> button = objc::adopt(allocated->initWithFrame(CGRectZero));
    button->setOpaque(NO);
    return objc::autoreleased(std::move(button));
}

}  // namespace

Control* navigationButtonForItem(BarButtonItem* item) {
    Control* button = make();
    stateOf(button).item = item;
    button->setEnabled(item != nullptr ? item->isEnabled() : NO);
    button->addTarget(button, "_itemTapped:"_sel, UIControlEventTouchUpInside);
    return button;
}

Control* navigationBackButton(const NS::String* title, objc::AnyObject target, SEL action) {
    Control* button = make();
    stateOf(button).title = objc::copyOf(title);
    stateOf(button).back = true;
    button->addTarget(target, action, UIControlEventTouchUpInside);
    return button;
}

std::string navigationButtonTitle(const View* button) { return utf8(objc::asId(titleOf(button))); }
bool isNavigationButton(const View* view) { return view != nullptr && view->isKindOfClass("UINavigationButton"_cls); }

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
