#include <UIKit/UIBarButtonItem.h>
#include <UIKit/UINavigationItem.h>

#include "BarItemInternals.h"
#include "UIKitRegistration.h"

namespace UI {
namespace {

struct NavigationItemState {
    Ref<NS::String> title;  // a copy of the string set
    Ref<BarButtonItem> right;
    Ref<BarButtonItem> left;
    Ref<BarButtonItem> back;
    bool hidesBackButton = false;
    id observer = nil;  // the bar, not owned
};

NavigationItemState& stateOf(id self) { return objc::state<NavigationItemState>(self); }

void changed(id self) {
    if (id observer = stateOf(self).observer) objc::send<void>(observer, "_itemDidChange:"_sel, self);
}

// Puts a bar button item into a slot: the item now reports to this
// navigation item, and the one it replaces stops doing so.
void setItem(id self, Ref<BarButtonItem>& slot, BarButtonItem* item) {
    if (slot == item) return;
    if (slot && detail::barButtonItemObserver(objc::asId(slot.get())) == self)
        detail::setBarButtonItemObserver(objc::asId(slot.get()), nil);
    slot = item;
    if (item != nullptr) detail::setBarButtonItemObserver(objc::asId(item), self);
    changed(self);
}

id initWithTitle(id self, SEL, NS::String* title) {
    self = objc::sendSuper<id>(self, "UINavigationItem"_cls, "init"_sel);
    if (self != nil) stateOf(self).title = objc::copyOf(title);
    return self;
}

void dealloc(id self, SEL) {
    NavigationItemState& s = stateOf(self);
    for (BarButtonItem* item : {s.right.get(), s.left.get(), s.back.get()}) {
        if (item != nullptr && detail::barButtonItemObserver(objc::asId(item)) == self)
            detail::setBarButtonItemObserver(objc::asId(item), nil);
    }
    objc::sendSuper<void>(self, "UINavigationItem"_cls, "dealloc"_sel);
}

NS::String* title(id self, SEL) { return stateOf(self).title; }
void setTitle(id self, SEL, NS::String* title) {
    stateOf(self).title = objc::copyOf(title);
    changed(self);
}

BarButtonItem* rightBarButtonItem(id self, SEL) { return stateOf(self).right; }
void setRightBarButtonItem(id self, SEL, BarButtonItem* item) { setItem(self, stateOf(self).right, item); }
void setRightBarButtonItemAnimated(id self, SEL, BarButtonItem* item, BOOL) {
    setItem(self, stateOf(self).right, item);
}
BarButtonItem* leftBarButtonItem(id self, SEL) { return stateOf(self).left; }
void setLeftBarButtonItem(id self, SEL, BarButtonItem* item) { setItem(self, stateOf(self).left, item); }
BarButtonItem* backBarButtonItem(id self, SEL) { return stateOf(self).back; }
void setBackBarButtonItem(id self, SEL, BarButtonItem* item) { setItem(self, stateOf(self).back, item); }

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
