// Delivery of a touch event inside a window: first to the gesture
// recognisers of the touched view and its ancestors, then to the view itself
// unless a recogniser that cancels touches in its view has recognised.
// Internal to UIKit.
#pragma once

namespace UI {
class Event;
class Window;
}  // namespace UI

namespace UI::detail {

void deliverTouchEvent(Window* window, Event* event);

}  // namespace UI::detail
