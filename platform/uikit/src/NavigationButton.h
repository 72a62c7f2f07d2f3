// The buttons a navigation bar shows: one per bar button item, and the back
// button. Internal to UIKit.
#pragma once

#include <ObjCBridge/AnyObject.h>
#include <ObjCBridge/Runtime.h>

#include <string>

namespace NS {
class String;
}

namespace UI {
class BarButtonItem;
class Control;
class View;
}  // namespace UI

namespace UI::detail {

// A new button (+0) for the bar button item; a tap sends the item's action
// to its target with the item as sender.
Control* navigationButtonForItem(BarButtonItem* item);
// A new back button (+0) titled `title`, with the chevron; a tap sends
// `action` to `target`.
Control* navigationBackButton(const NS::String* title, objc::AnyObject target, SEL action);

// The title the button shows.
std::string navigationButtonTitle(const View* button);
bool isNavigationButton(const View* view);

void registerNavigationButton();

}  // namespace UI::detail
