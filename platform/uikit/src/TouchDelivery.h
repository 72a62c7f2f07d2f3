// Delivery of a touch event inside a window: first to the gesture
// recognisers of the touched view and its ancestors, then to the view itself
// unless a recogniser that cancels touches in its view has recognised.
// Internal to UIKit.
#pragma once

#include <ObjCBridge/Runtime.h>

namespace UI::detail {

void deliverTouchEvent(id window, id event);

}  // namespace UI::detail
