#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>

#include "TouchInternals.h"
#include "UIKitRegistration.h"

namespace UI {
namespace {

struct EventState {
    Ref<NS::Object> touches;  // the set of the event's touches
    double timestamp = 0;
};

EventState& stateOf(id self) { return objc::state<EventState>(self); }

id allTouches(id self, SEL) { return objc::asId(stateOf(self).touches.get()); }

id touchesForView(id self, SEL, id view) {
    std::vector<id> matching;
    id all = objc::send<id>(stateOf(self).touches.get(), "allObjects"_sel);
    NSUInteger n = objc::send<NSUInteger>(all, "count"_sel);
    for (NSUInteger i = 0; i < n; ++i) {
        id touch = objc::send<id>(all, "objectAtIndex:"_sel, i);
        if (objc::send<id>(touch, "view"_sel) == view) matching.push_back(touch);
    }
    return detail::touchSetWith(matching);
}

double timestamp(id self, SEL) { return stateOf(self).timestamp; }
UIEventType type(id, SEL) { return UIEventTypeTouches; }

}  // namespace

namespace detail {

id eventWithTouch(id touch, double timestamp) {
    id event = objc::send<id>(objc::send<id>("UIEvent"_cls, "alloc"_sel), "init"_sel);
    stateOf(event).touches = objc::cast<NS::Object>(touchSetWith({touch}));
    stateOf(event).timestamp = timestamp;
    return objc::send<id>(event, "autorelease"_sel);
}

}  // namespace detail

void registerEvent() {
    objc::ClassBuilder("UIEvent", "NSObject"_cls)
        .state<EventState>()
        .method("allTouches", &allTouches)
        .method("touchesForView:", &touchesForView)
        .method("timestamp", &timestamp)
        .method("type", &type)
        .build();
}

}  // namespace UI
