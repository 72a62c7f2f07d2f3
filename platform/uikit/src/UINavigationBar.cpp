#include <Foundation/NSArray.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationBar.h>

#include "BarItemInternals.h"
#include "ControlDrawing.h"
#include "NavigationButton.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace UI {
namespace {

struct NavigationBarState {
    std::vector<id> items;  // each retained
    id delegate = nil;      // not retained
    id barTint = nil;       // retained
    id background = nil;    // subviews, retained
    id hairline = nil;
    id left = nil;  // the shown buttons and title, retained while shown
    id right = nil;
    id title = nil;
    bool leftIsBack = false;
    ~NavigationBarState() {
        for (id item : items) objc::release(item);
        for (id v : {barTint, background, hairline, left, right, title}) objc::release(v);
    }
};

NavigationBarState& stateOf(id self) { return objc::state<NavigationBarState>(self); }

id backgroundColor(id self) {
    id tint = stateOf(self).barTint;
    return tint != nil ? tint : detail::color(metrics::kBarBackground);
}

void takeOut(id& view) {
    if (view == nil) return;
    objc::send<void>(view, "removeFromSuperview"_sel);
    objc::release(view);
    view = nil;
}

void place(id self, id& slot, id view) {
    slot = objc::retain(view);
    objc::send<void>(self, "addSubview:"_sel, view);
}

id topItem(id self, SEL) {
    const auto& items = stateOf(self).items;
    return items.empty() ? nil : items.back();
}

id backItem(id self, SEL) {
    const auto& items = stateOf(self).items;
    return items.size() < 2 ? nil : items[items.size() - 2];
}

// The title of the button that leads back to an item.
id backTitleFor(id item) {
    id back = objc::send<id>(item, "backBarButtonItem"_sel);
    id title = back != nil ? objc::send<id>(back, "title"_sel) : nil;
    if (title == nil) title = objc::send<id>(item, "title"_sel);
    if (title == nil || objc::send<NSUInteger>(title, "length"_sel) == 0) title = objc::asId("Back"_ns);
    return title;
}

// Lays the shown views out: buttons at their natural widths against the
// edges, the title centred on the bar when the buttons leave room, else
// between them.
void layoutSubviews(id self, SEL) {
    NavigationBarState& s = stateOf(self);
    CGRect bounds = objc::send<CGRect>(self, "bounds"_sel);
    const CGFloat w = bounds.size.width, h = bounds.size.height, margin = metrics::kBarButtonMargin;
    objc::send<void>(s.background, "setFrame:"_sel,
                     CGRectMake(0, -metrics::kStatusBarHeight, w, h + metrics::kStatusBarHeight));
    objc::send<void>(s.hairline, "setFrame:"_sel, CGRectMake(0, h, w, 0.5));

    CGFloat leftEdge = margin, rightEdge = w - margin;
    CGFloat available = std::fmax(w / 2 - margin, 0);
    if (s.left != nil && s.leftIsBack) {
        // A back title too long for its half of the bar gives way to "Back",
        // as the system's bar does, rather than being cut off.
        CGSize size = objc::send<CGSize>(s.left, "sizeThatFits:"_sel, bounds.size);
        if (size.width > available && detail::navigationButtonTitle(s.left) != "Back") {
            takeOut(s.left);
            place(self, s.left, detail::navigationBackButton(objc::asId("Back"_ns), self, "_backButtonTapped:"_sel));
        }
    }
    if (s.left != nil) {
        CGSize size = objc::send<CGSize>(s.left, "sizeThatFits:"_sel, bounds.size);
        size.width = std::fmin(size.width, available);
        objc::send<void>(s.left, "setFrame:"_sel, CGRectMake(margin, 0, size.width, h));
        leftEdge = margin + size.width + margin;
    }
    if (s.right != nil) {
        CGSize size = objc::send<CGSize>(s.right, "sizeThatFits:"_sel, bounds.size);
        size.width = std::fmin(size.width, available);
        objc::send<void>(s.right, "setFrame:"_sel, CGRectMake(w - margin - size.width, 0, size.width, h));
        rightEdge = w - margin - size.width - margin;
    }
    if (s.title != nil) {
        CGSize size = objc::send<CGSize>(s.title, "sizeThatFits:"_sel, bounds.size);
        CGFloat room = std::fmax(rightEdge - leftEdge, 0);
        CGFloat width = std::fmin(size.width, room);
        CGFloat x = std::round((w - width) / 2);
        if (x < leftEdge) x = leftEdge;
        if (x + width > rightEdge) x = rightEdge - width;
        objc::send<void>(s.title, "setFrame:"_sel, CGRectMake(x, 0, width, h));
    }
}

// Shows the top item: its title, its buttons, the back button.
void rebuild(id self) {
    NavigationBarState& s = stateOf(self);
    takeOut(s.left);
    takeOut(s.right);
    takeOut(s.title);
    s.leftIsBack = false;
    id top = topItem(self, nullptr);
    if (top == nil) return;

    if (id leftItem = objc::send<id>(top, "leftBarButtonItem"_sel)) {
        place(self, s.left, detail::navigationButtonForItem(leftItem));
    } else if (id below = backItem(self, nullptr); below != nil && !objc::send<BOOL>(top, "hidesBackButton"_sel)) {
        place(self, s.left, detail::navigationBackButton(backTitleFor(below), self, "_backButtonTapped:"_sel));
        s.leftIsBack = true;
    }
    if (id rightItem = objc::send<id>(top, "rightBarButtonItem"_sel)) {
        place(self, s.right, detail::navigationButtonForItem(rightItem));
    }
    if (id text = objc::send<id>(top, "title"_sel)) {
        auto* label = Label::alloc()->initWithFrame(CGRectZero);
        label->setText(objc::cast<NS::String>(text));
        label->setFont(Font::fontWithName("HelveticaNeue-Medium"_ns, metrics::kBarTitleSize));
        label->setTextAlignment(NSTextAlignmentCenter);
        place(self, s.title, objc::asId(label));
        label->release();
    }
    layoutSubviews(self, nullptr);
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UINavigationBar"_cls, "initWithFrame:"_sel, frame);
    if (self == nil) return nil;
    NavigationBarState& s = stateOf(self);
    place(self, s.background, detail::solidView(CGRectZero, backgroundColor(self)));
    place(self, s.hairline, detail::solidView(CGRectZero, detail::color(metrics::kBarHairline)));
    layoutSubviews(self, nullptr);
    return self;
}

void dealloc(id self, SEL) {
    for (id item : stateOf(self).items) {
        if (detail::navigationItemObserver(item) == self) detail::setNavigationItemObserver(item, nil);
    }
    objc::sendSuper<void>(self, "UINavigationBar"_cls, "dealloc"_sel);
}

void adopt(id self, id item) {
    stateOf(self).items.push_back(objc::retain(item));
    detail::setNavigationItemObserver(item, self);
}

// The bar's reference goes to the autorelease pool, so that a popped item
// lives on for the caller.
void letGo(id self, id item) {
    if (detail::navigationItemObserver(item) == self) detail::setNavigationItemObserver(item, nil);
    objc::send<id>(item, "autorelease"_sel);
}

id items(id self, SEL) {
    const auto& list = stateOf(self).items;
    return objc::asId(NS::Array::arrayWithObjects(list.data(), list.size()));
}

void setItems(id self, SEL, id array, BOOL) {
    NavigationBarState& s = stateOf(self);
    std::vector<id> old;
    old.swap(s.items);
    auto* list = objc::cast<NS::Array>(array);
    NSUInteger n = list != nullptr ? list->count() : 0;
    for (NSUInteger i = 0; i < n; ++i) adopt(self, list->objectAtIndex(i));
    for (id item : old) {
        letGo(self, item);
        // An item kept in the new list reports to the bar again.
        if (std::find(s.items.begin(), s.items.end(), item) != s.items.end()) {
            detail::setNavigationItemObserver(item, self);
        }
    }
    rebuild(self);
}

void pushNavigationItem(id self, SEL, id item, BOOL) {
    if (item == nil) return;
    auto& list = stateOf(self).items;
    if (std::find(list.begin(), list.end(), item) != list.end()) {
        objc::fatal("-[UINavigationBar pushNavigationItem:animated:] the item is on the bar already");
    }
    adopt(self, item);
    rebuild(self);
}

id popNavigationItemAnimated(id self, SEL, BOOL) {
    auto& list = stateOf(self).items;
    if (list.empty()) return nil;
    id item = list.back();
    list.pop_back();
    letGo(self, item);
    rebuild(self);
    return item;
}

id delegate(id self, SEL) { return stateOf(self).delegate; }
void setDelegate(id self, SEL, id d) { stateOf(self).delegate = d; }

id barTintColor(id self, SEL) { return stateOf(self).barTint; }
void setBarTintColor(id self, SEL, id color) {
    NavigationBarState& s = stateOf(self);
    objc::retain(color);
    objc::release(s.barTint);
    s.barTint = color;
    objc::send<void>(s.background, "setBackgroundColor:"_sel, backgroundColor(self));
}

// An item of the stack changed: the top one is shown again; a change to the
// item below may change the back button's title.
void itemDidChange(id self, SEL, id item) {
    if (item == topItem(self, nullptr) || item == backItem(self, nullptr)) rebuild(self);
}

void backButtonTapped(id self, SEL, id) {
    id top = topItem(self, nullptr);
    if (top == nil) return;
    Ref<NS::Object> keepSelf(objc::cast<NS::Object>(self));
    id d = stateOf(self).delegate;
    bool pop = true;
    if (d != nil && objc::respondsTo(d, "navigationBar:shouldPopItem:"_sel)) {
        pop = objc::send<BOOL>(d, "navigationBar:shouldPopItem:"_sel, self, top);
    }
    if (pop && topItem(self, nullptr) == top) popNavigationItemAnimated(self, nullptr, YES);
}

}  // namespace

namespace navigationBar {

View* backButton(NavigationBar* bar) {
    auto& s = stateOf(objc::asId(bar));
    return s.leftIsBack ? objc::cast<View>(s.left) : nullptr;
}
View* leftButton(NavigationBar* bar) { return objc::cast<View>(stateOf(objc::asId(bar)).left); }
View* rightButton(NavigationBar* bar) { return objc::cast<View>(stateOf(objc::asId(bar)).right); }
View* titleView(NavigationBar* bar) { return objc::cast<View>(stateOf(objc::asId(bar)).title); }
std::string buttonTitle(View* button) {
    id b = objc::asId(button);
    return detail::isNavigationButton(b) ? detail::navigationButtonTitle(b) : std::string();
}

}  // namespace navigationBar

void registerNavigationBar() {
    detail::registerNavigationButton();
    objc::ClassBuilder("UINavigationBar", "UIView"_cls)
        .state<NavigationBarState>()
        .method("initWithFrame:", &initWithFrame)
        .method("dealloc", &dealloc)
        .method("layoutSubviews", &layoutSubviews)
        .method("items", &items)
        .method("setItems:animated:", &setItems)
        .method("pushNavigationItem:animated:", &pushNavigationItem)
        .method("popNavigationItemAnimated:", &popNavigationItemAnimated)
        .method("topItem", &topItem)
        .method("backItem", &backItem)
        .method("delegate", &delegate)
        .method("setDelegate:", &setDelegate)
        .method("barTintColor", &barTintColor)
        .method("setBarTintColor:", &setBarTintColor)
        .method("_itemDidChange:", &itemDidChange)
        .method("_backButtonTapped:", &backButtonTapped)
        .build();
}

}  // namespace UI
