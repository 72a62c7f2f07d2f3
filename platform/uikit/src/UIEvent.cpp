#include <Foundation/NSArray.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>

#include "TouchInternals.h"
#include "UIKitRegistration.h"

namespace UI {
namespace {

struct EventState {
    Ref<TouchSet> touches;  // the set of the event's touches
    double timestamp = 0;
};

EventState& stateOf(objc::AnyObject self) { return objc::state<EventState>(self); }

TouchSet* allTouches(id self, SEL) { return stateOf(self).touches; }

TouchSet* touchesForView(id self, SEL, View* view) {
    std::vector<Touch*> matching;
    if (const TouchSet* touches = stateOf(self).touches) {
        NS::Array* all = touches->allObjects();
        for (NSUInteger i = 0, n = all->count(); i < n; ++i) {
            auto* touch = objc::cast<Touch>(all->objectAtIndex(i));
            if (touch->view() == view) matching.push_back(touch);
        }
    }
    return detail::touchSetWith(matching);
}

double timestamp(id self, SEL) { return stateOf(self).timestamp; }
UIEventType type(id, SEL) { return UIEventTypeTouches; }

}  // namespace

namespace detail {

Event* eventWithTouch(Touch* touch, double timestamp) {
    Ref<Event> event = objc::adopt(objc::cast<Event>(Event::alloc()->init()));
    stateOf(event).touches = touchSetWith({touch});
    stateOf(event).timestamp = timestamp;
    return objc::autoreleased(std::move(event));
}

Touch* touchOf(const Event* event) {
    const TouchSet* touches = event != nullptr ? event->allTouches() : nullptr;
    return touches != nullptr ? touches->anyObject() : nullptr;
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
