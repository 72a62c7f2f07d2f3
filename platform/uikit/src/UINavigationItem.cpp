#include <UIKit/UINavigationItem.h>

#include "BarItemInternals.h"
#include "UIKitRegistration.h"

namespace UI {
namespace {

struct NavigationItemState {
    id title = nil;  // retained copy
    id right = nil;  // retained
    id left = nil;   // retained
    id back = nil;   // retained
    bool hidesBackButton = false;
    id observer = nil;  // the bar, not retained

    ~NavigationItemState() {
        objc::release(title);
        objc::release(right);
        objc::release(left);
        objc::release(back);
    }
};

NavigationItemState& stateOf(id self) { return objc::state<NavigationItemState>(self); }

void changed(id self) {
    if (id observer = stateOf(self).observer) objc::send<void>(observer, "_itemDidChange:"_sel, self);
}

// Puts a bar button item into a slot: the item now reports to this
// navigation item, and the one it replaces stops doing so.
void setItem(id self, id& slot, id item) {
    if (slot == item) return;
    objc::retain(item);
    if (slot != nil && detail::barButtonItemObserver(slot) == self) detail::setBarButtonItemObserver(slot, nil);
    objc::release(slot);
    slot = item;
    if (item != nil) detail::setBarButtonItemObserver(item, self);
    changed(self);
}

id initWithTitle(id self, SEL, id title) {
    self = objc::sendSuper<id>(self, "UINavigationItem"_cls, "init"_sel);
    if (self != nil) stateOf(self).title = objc::send<id>(title, "copy"_sel);
    return self;
}

void dealloc(id self, SEL) {
    NavigationItemState& s = stateOf(self);
    for (id item : {s.right, s.left, s.back}) {
        if (item != nil && detail::barButtonItemObserver(item) == self) detail::setBarButtonItemObserver(item, nil);
    }
    objc::sendSuper<void>(self, "UINavigationItem"_cls, "dealloc"_sel);
}

id title(id self, SEL) { return stateOf(self).title; }
void setTitle(id self, SEL, id title) {
    id copy = objc::send<id>(title, "copy"_sel);
    objc::release(stateOf(self).title);
    stateOf(self).title = copy;
    changed(self);
}

id rightBarButtonItem(id self, SEL) { return stateOf(self).right; }
void setRightBarButtonItem(id self, SEL, id item) { setItem(self, stateOf(self).right, item); }
void setRightBarButtonItemAnimated(id self, SEL, id item, BOOL) { setItem(self, stateOf(self).right, item); }
id leftBarButtonItem(id self, SEL) { return stateOf(self).left; }
void setLeftBarButtonItem(id self, SEL, id item) { setItem(self, stateOf(self).left, item); }
id backBarButtonItem(id self, SEL) { return stateOf(self).back; }
void setBackBarButtonItem(id self, SEL, id item) { setItem(self, stateOf(self).back, item); }

BOOL hidesBackButton(id self, SEL) { return stateOf(self).hidesBackButton; }
void setHidesBackButton(id self, SEL, BOOL hides) {
    stateOf(self).hidesBackButton = hides;
    changed(self);
}

// A bar button item of this navigation item changed: the bar hears of it as
// a change of the navigation item.
void itemDidChange(id self, SEL, id) { changed(self); }

}  // namespace

namespace detail {
void setNavigationItemObserver(id item, id observer) {
    if (item != nil) stateOf(item).observer = observer;
}
id navigationItemObserver(id item) { return item != nil ? stateOf(item).observer : nil; }
}  // namespace detail

void registerNavigationItem() {
    objc::ClassBuilder("UINavigationItem", "NSObject"_cls)
        .state<NavigationItemState>()
        .method("initWithTitle:", &initWithTitle)
        .method("dealloc", &dealloc)
        .method("title", &title)
        .method("setTitle:", &setTitle)
        .method("rightBarButtonItem", &rightBarButtonItem)
        .method("setRightBarButtonItem:", &setRightBarButtonItem)
        .method("setRightBarButtonItem:animated:", &setRightBarButtonItemAnimated)
        .method("leftBarButtonItem", &leftBarButtonItem)
        .method("setLeftBarButtonItem:", &setLeftBarButtonItem)
        .method("backBarButtonItem", &backBarButtonItem)
        .method("setBackBarButtonItem:", &setBackBarButtonItem)
        .method("hidesBackButton", &hidesBackButton)
        .method("setHidesBackButton:", &setHidesBackButton)
        .method("_itemDidChange:", &itemDidChange)
        .build();
}

}  // namespace UI
