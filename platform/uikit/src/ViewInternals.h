// What other parts of UIKit need to know of a view beyond its messages.
// Internal to UIKit.
#pragma once

#include <ObjCBridge/Runtime.h>

namespace UI::detail {

// True when the view's class has a drawRect: of its own (anything but
// UIView's), so that its layer keeps a backing bitmap.
bool viewDrawsContent(id view);

// The controller whose view this is, or nil; set by the controller class.
id viewDelegateOf(id view);
void setViewDelegate(id view, id controller);

}  // namespace UI::detail
