// How bar items tell the bar that shows them about changes. Internal to
// UIKit.
//
// A bar button item reports to the navigation item that holds it, and a
// navigation item to the navigation bar whose stack holds it, by sending
// the observer `_itemDidChange:` with itself. Observers are not retained:
// an observer that goes away, or lets go of the item, clears the link.
#pragma once

#include <ObjCBridge/Runtime.h>

namespace UI::detail {

void setBarButtonItemObserver(id item, id observer);
id barButtonItemObserver(id item);

void setNavigationItemObserver(id item, id observer);
id navigationItemObserver(id item);

}  // namespace UI::detail
