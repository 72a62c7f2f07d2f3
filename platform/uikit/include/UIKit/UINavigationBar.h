// UINavigationBar: the 44-point bar under the status bar. It keeps a stack
// of navigation items and shows the top one: its title centred in Helvetica
// Neue Medium 17, its right bar button item at the right and, at the left,
// its left bar button item or a back button "‹ title of the item below" in
// the tint colour. The bar's background (#F7F7F7) reaches up under the
// status bar; a hairline runs along its bottom edge.
//
// A tap on the back button asks the delegate navigationBar:shouldPopItem:
// (a navigation controller pops its top controller and answers NO); without
// a delegate, or when it answers YES, the bar pops the item itself. A tap on
// a bar button item sends its action to its target.
#pragma once

#include <UIKit/UINavigationItem.h>
#include <UIKit/UIView.h>

#include <string>

namespace NS {
class Array;
}

namespace UI {

class NavigationBar : public View {
public:
    static NavigationBar* alloc() { return objc::send<NavigationBar*>("UINavigationBar"_cls, "alloc"_sel); }
    NavigationBar* initWithFrame(CGRect frame) { return objc::send<NavigationBar*>(this, "initWithFrame:"_sel, frame); }

    // Items are retained by the bar.
    NS::Array* items() const { return objc::send<NS::Array*>(this, "items"_sel); }
    void setItems(NS::Array* items, BOOL animated) {
        objc::send<void>(this, "setItems:animated:"_sel, items, animated);
    }
    void pushNavigationItem(NavigationItem* item, BOOL animated) {
        objc::send<void>(this, "pushNavigationItem:animated:"_sel, item, animated);
    }
    // The popped item (autoreleased), or nil when the stack is empty.
    NavigationItem* popNavigationItemAnimated(BOOL animated) {
        return objc::send<NavigationItem*>(this, "popNavigationItemAnimated:"_sel, animated);
    }
    NavigationItem* topItem() const { return objc::send<NavigationItem*>(this, "topItem"_sel); }
    NavigationItem* backItem() const { return objc::send<NavigationItem*>(this, "backItem"_sel); }

    // Not retained.
    id delegate() const { return objc::send<id>(this, "delegate"_sel); }
    void setDelegate(objc::AnyObject delegate) { objc::send<void>(this, "setDelegate:"_sel, delegate.get()); }

    // nil: #F7F7F7.
    Color* barTintColor() const { return objc::send<Color*>(this, "barTintColor"_sel); }
    void setBarTintColor(Color* color) { objc::send<void>(this, "setBarTintColor:"_sel, color); }
};

namespace navigationBar {

// The views the bar shows for its buttons and title, for scripts and tests:
// nil when the bar shows none.
View* backButton(NavigationBar* bar);
View* leftButton(NavigationBar* bar);
View* rightButton(NavigationBar* bar);
View* titleView(NavigationBar* bar);
// The title a bar button view shows ("" for none).
std::string buttonTitle(View* button);

}  // namespace navigationBar
}  // namespace UI
