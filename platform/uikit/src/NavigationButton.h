// The buttons a navigation bar shows: one per bar button item, and the back
// button. Internal to UIKit.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <string>

namespace UI::detail {

// A new button (+0) for the bar button item; a tap sends the item's action
// to its target with the item as sender.
id navigationButtonForItem(id barButtonItem);
// A new back button (+0) titled `title`, with the chevron; a tap sends
// `action` to `target`.
id navigationBackButton(id title, id target, SEL action);

// The button's item (nil for a back button) and the title it shows.
id navigationButtonItem(id button);
std::string navigationButtonTitle(id button);
bool isNavigationButton(id view);

void registerNavigationButton();

}  // namespace UI::detail
