#include <Foundation/NSArray.h>
#include <UIKit/UIBarButtonItem.h>
#include <UIKit/UIControl.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationItem.h>

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
    std::vector<Ref<NavigationItem>> items;
    id delegate = nil;  // not owned
    Ref<Color> barTint;
    Ref<View> background;  // subviews
    Ref<View> hairline;
    Ref<View> left;  // the shown buttons and title, held while shown
    Ref<View> right;
    Ref<View> title;
    bool leftIsBack = false;
};

NavigationBarState& stateOf(objc::AnyObject self) { return objc::state<NavigationBarState>(self); }

Color* backgroundColor(NavigationBar* self) {
    Color* tint = stateOf(self).barTint;
    return tint != nullptr ? tint : objc::cast<Color>(detail::color(metrics::kBarBackground));
}

void takeOut(Ref<View>& view) {
    if (!view) return;
    view->removeFromSuperview();
    view.reset();
}

void place(NavigationBar* self, Ref<View>& slot, View* view) {
    slot = view;
    self->addSubview(view);
}

View* backButtonView(NavigationBar* self, NS::String* title) {
    return detail::navigationBackButton(title, self, "_backButtonTapped:"_sel);
}

NavigationItem* topItem(NavigationBar* self, SEL) {
    const auto& items = stateOf(self).items;
    return items.empty() ? nullptr : items.back().get();
}

NavigationItem* backItem(NavigationBar* self, SEL) {
    const auto& items = stateOf(self).items;
    return items.size() < 2 ? nullptr : items[items.size() - 2].get();
}

// The title of the button that leads back to an item.
NS::String* backTitleFor(NavigationItem* item) {
    BarButtonItem* back = item->backBarButtonItem();
    NS::String* title = back != nullptr ? back->title() : nullptr;
    if (title == nullptr) title = item->title();
    if (title == nullptr || title->length() == 0) title = "Back"_ns;
    return title;
}

// Lays the shown views out: buttons at their natural widths against the
// edges, the title centred on the bar when the buttons leave room, else
// between them.
void layoutSubviews(NavigationBar* self, SEL) {
    NavigationBarState& s = stateOf(self);
    CGRect bounds = self->bounds();
    const CGFloat w = bounds.size.width, h = bounds.size.height, margin = metrics::kBarButtonMargin;
    if (s.background)
        s.background->setFrame(CGRectMake(0, -metrics::kStatusBarHeight, w, h + metrics::kStatusBarHeight));
    if (s.hairline) s.hairline->setFrame(CGRectMake(0, h, w, 0.5));

    CGFloat leftEdge = margin, rightEdge = w - margin;
    CGFloat available = std::fmax(w / 2 - margin, 0);
    if (s.left && s.leftIsBack) {
        // A back title too long for its half of the bar gives way to "Back",
        // as the system's bar does, rather than being cut off.
        CGSize size = s.left->sizeThatFits(bounds.size);
        if (size.width > available && detail::navigationButtonTitle(s.left) != "Back") {
            takeOut(s.left);
            place(self, s.left, backButtonView(self, "Back"_ns));
        }
    }
    if (s.left) {
        CGSize size = s.left->sizeThatFits(bounds.size);
        size.width = std::fmin(size.width, available);
        s.left->setFrame(CGRectMake(margin, 0, size.width, h));
        leftEdge = margin + size.width + margin;
    }
    if (s.right) {
        CGSize size = s.right->sizeThatFits(bounds.size);
        size.width = std::fmin(size.width, available);
        s.right->setFrame(CGRectMake(w - margin - size.width, 0, size.width, h));
        rightEdge = w - margin - size.width - margin;
    }
    if (s.title) {
        CGSize size = s.title->sizeThatFits(bounds.size);
        CGFloat room = std::fmax(rightEdge - leftEdge, 0);
        CGFloat width = std::fmin(size.width, room);
        CGFloat x = std::round((w - width) / 2);
        if (x < leftEdge) x = leftEdge;
        if (x + width > rightEdge) x = rightEdge - width;
        s.title->setFrame(CGRectMake(x, 0, width, h));
    }
}

// Shows the top item: its title, its buttons, the back button.
void rebuild(NavigationBar* self) {
    NavigationBarState& s = stateOf(self);
    takeOut(s.left);
    takeOut(s.right);
    takeOut(s.title);
    s.leftIsBack = false;
    NavigationItem* top = topItem(self, nullptr);
    if (top == nullptr) return;
    if (BarButtonItem* leftItem = top->leftBarButtonItem()) {
        place(self, s.left, detail::navigationButtonForItem(leftItem));
    } else if (NavigationItem* below = backItem(self, nullptr); below != nullptr && !top->hidesBackButton()) {
        place(self, s.left, backButtonView(self, backTitleFor(below)));
        s.leftIsBack = true;
    }
    if (BarButtonItem* rightItem = top->rightBarButtonItem()) {
        place(self, s.right, detail::navigationButtonForItem(rightItem));
    }
    if (NS::String* text = top->title()) {
        Ref<Label> label = objc::adopt(Label::alloc()->initWithFrame(CGRectZero));
        label->setText(text);
        label->setFont(Font::fontWithName("HelveticaNeue-Medium"_ns, metrics::kBarTitleSize));
        label->setTextAlignment(NSTextAlignmentCenter);
        place(self, s.title, label);
    }
    layoutSubviews(self, nullptr);
}

NavigationBar* initWithFrame(NavigationBar* self, SEL, CGRect frame) {
    self = objc::sendSuper<NavigationBar*>(self, "UINavigationBar"_cls, "initWithFrame:"_sel, frame);
    if (self == nullptr) return nullptr;
    NavigationBarState& s = stateOf(self);
    place(self, s.background, objc::cast<View>(detail::solidView(CGRectZero, objc::asId(backgroundColor(self)))));
    place(self, s.hairline, objc::cast<View>(detail::solidView(CGRectZero, detail::color(metrics::kBarHairline))));
    layoutSubviews(self, nullptr);
    return self;
}

// Whether the item reports its changes to this bar.
bool observes(id self, NavigationItem* item) { return detail::navigationItemObserver(objc::asId(item)) == self; }

void dealloc(id self, SEL) {
    for (NavigationItem* item : stateOf(self).items) {
        if (observes(self, item)) detail::setNavigationItemObserver(objc::asId(item), nil);
    }
    objc::sendSuper<void>(self, "UINavigationBar"_cls, "dealloc"_sel);
}

void hold(id self, NavigationItem* item) {
    stateOf(self).items.emplace_back(item);
    detail::setNavigationItemObserver(objc::asId(item), self);
}

// The bar's reference goes to the autorelease pool, so that a popped item
// lives on for the caller.
NavigationItem* letGo(id self, Ref<NavigationItem> item) {
    if (observes(self, item)) detail::setNavigationItemObserver(objc::asId(item.get()), nil);
    return objc::autoreleased(std::move(item));
}

NS::Array* items(id self, SEL) {
    std::vector<id> list;
    for (NavigationItem* item : stateOf(self).items) list.push_back(objc::asId(item));
    return NS::Array::arrayWithObjects(list.data(), list.size());
}

bool holds(const std::vector<Ref<NavigationItem>>& items, NavigationItem* item) {
    return std::any_of(items.begin(), items.end(), [item](const Ref<NavigationItem>& i) { return i.get() == item; });
}

void setItems(NavigationBar* self, SEL, NS::Array* list, BOOL) {
    NavigationBarState& s = stateOf(self);
    std::vector<Ref<NavigationItem>> old;
    old.swap(s.items);
    NSUInteger n = list != nullptr ? list->count() : 0;
    for (NSUInteger i = 0; i < n; ++i) hold(objc::asId(self), objc::cast<NavigationItem>(list->objectAtIndex(i)));
    for (Ref<NavigationItem>& item : old) {
        // An item kept in the new list reports to the bar again.
        NavigationItem* gone = letGo(objc::asId(self), std::move(item));
        if (holds(s.items, gone)) detail::setNavigationItemObserver(objc::asId(gone), objc::asId(self));
    }
    rebuild(self);
}

void pushNavigationItem(NavigationBar* self, SEL, NavigationItem* item, BOOL) {
    if (item == nullptr) return;
    if (holds(stateOf(self).items, item)) {
        objc::fatal("-[UINavigationBar pushNavigationItem:animated:] the item is on the bar already");
    }
    hold(objc::asId(self), item);
    rebuild(self);
}

NavigationItem* popNavigationItemAnimated(NavigationBar* self, SEL, BOOL) {
    auto& list = stateOf(self).items;
    if (list.empty()) return nullptr;
    Ref<NavigationItem> item = std::move(list.back());
    list.pop_back();
    NavigationItem* popped = letGo(objc::asId(self), std::move(item));
    rebuild(self);
    return popped;
}

id delegate(id self, SEL) { return stateOf(self).delegate; }
void setDelegate(id self, SEL, id d) { stateOf(self).delegate = d; }

Color* barTintColor(id self, SEL) { return stateOf(self).barTint; }
void setBarTintColor(NavigationBar* self, SEL, Color* color) {
    NavigationBarState& s = stateOf(self);
    s.barTint = color;
    if (s.background) s.background->setBackgroundColor(backgroundColor(self));
}

// An item of the stack changed: the top one is shown again; a change to the
// item below may change the back button's title.
void itemDidChange(NavigationBar* self, SEL, NavigationItem* item) {
    if (item == topItem(self, nullptr) || item == backItem(self, nullptr)) rebuild(self);
}

void backButtonTapped(NavigationBar* self, SEL, id) {
    NavigationItem* top = topItem(self, nullptr);
    if (top == nullptr) return;
    Ref<NavigationBar> keepSelf(self);
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
    auto& s = stateOf(bar);
    return s.leftIsBack ? s.left.get() : nullptr;
}
View* leftButton(NavigationBar* bar) { return stateOf(bar).left; }
View* rightButton(NavigationBar* bar) { return stateOf(bar).right; }
View* titleView(NavigationBar* bar) { return stateOf(bar).title; }
std::string buttonTitle(View* button) {
    return detail::isNavigationButton(button) ? detail::navigationButtonTitle(button) : std::string();
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
