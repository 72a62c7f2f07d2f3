// UINavigationItem: what a navigation bar shows while a view controller is
// on top: its title and its bar button items. Every view controller has one
// (`navigationItem`), titled like the controller. The back button that leads
// to a controller shows that controller's `backBarButtonItem` title when it
// has one, else its title, else "Back". Changes to an item that a bar shows
// reach the bar at once.
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UIBarButtonItem.h>

namespace UI {

class NavigationItem : public NS::Object {
public:
    static NavigationItem* alloc() { return objc::send<NavigationItem*>("UINavigationItem"_cls, "alloc"_sel); }
    NavigationItem* initWithTitle(const NS::String* title) {
        return objc::send<NavigationItem*>(this, "initWithTitle:"_sel, title);
    }

    NS::String* title() const { return objc::send<NS::String*>(this, "title"_sel); }
    void setTitle(const NS::String* title) { objc::send<void>(this, "setTitle:"_sel, title); }

    // Items are retained.
    BarButtonItem* rightBarButtonItem() const { return objc::send<BarButtonItem*>(this, "rightBarButtonItem"_sel); }
    void setRightBarButtonItem(BarButtonItem* item) { objc::send<void>(this, "setRightBarButtonItem:"_sel, item); }
    void setRightBarButtonItem(BarButtonItem* item, BOOL animated) {
        objc::send<void>(this, "setRightBarButtonItem:animated:"_sel, item, animated);
    }
    BarButtonItem* leftBarButtonItem() const { return objc::send<BarButtonItem*>(this, "leftBarButtonItem"_sel); }
    void setLeftBarButtonItem(BarButtonItem* item) { objc::send<void>(this, "setLeftBarButtonItem:"_sel, item); }
    BarButtonItem* backBarButtonItem() const { return objc::send<BarButtonItem*>(this, "backBarButtonItem"_sel); }
    void setBackBarButtonItem(BarButtonItem* item) { objc::send<void>(this, "setBackBarButtonItem:"_sel, item); }
    BOOL hidesBackButton() const { return objc::send<BOOL>(this, "hidesBackButton"_sel); }
    void setHidesBackButton(BOOL hides) { objc::send<void>(this, "setHidesBackButton:"_sel, hides); }
};

}  // namespace UI
