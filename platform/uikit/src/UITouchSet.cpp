#include <Foundation/NSArray.h>
#include <UIKit/UITouch.h>

#include "TouchInternals.h"
#include "UIKitRegistration.h"

#include <algorithm>

namespace UI {
namespace {

struct SetState {
    std::vector<Ref<Touch>> touches;  // each once
};

SetState& stateOf(objc::AnyObject self) { return objc::state<SetState>(self); }

Touch* anyObject(id self, SEL) {
    const auto& touches = stateOf(self).touches;
    return touches.empty() ? nullptr : touches.front().get();
}
NSUInteger count(id self, SEL) { return stateOf(self).touches.size(); }
BOOL containsObject(id self, SEL, id object) {
    for (Touch* t : stateOf(self).touches) {
        if (objc::asId(t) == object || t->isEqual(object)) return YES;
    }
    return NO;
}
NS::Array* allObjects(id self, SEL) {
    std::vector<id> list;
    for (Touch* t : stateOf(self).touches) list.push_back(objc::asId(t));
    return NS::Array::arrayWithObjects(list.data(), list.size());
}

// Sets never change: a copy is the set itself.
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

namespace detail {

TouchSet* touchSetWith(const std::vector<Touch*>& touches) {
    Ref<TouchSet> set = objc::adopt(objc::cast<TouchSet>(TouchSet::alloc()->init()));
    auto& mine = stateOf(set).touches;
    for (Touch* t : touches) {
        if (t != nullptr && std::find(mine.begin(), mine.end(), t) == mine.end()) mine.emplace_back(t);
    }
    return objc::autoreleased(std::move(set));
}

}  // namespace detail

void registerTouchSet() {
    objc::ClassBuilder("UITouchSet", "NSObject"_cls)
        .state<SetState>()
        .method("anyObject", &anyObject)
        .method("count", &count)
        .method("containsObject:", &containsObject)
        .method("allObjects", &allObjects)
        .method("copyWithZone:", &copyWithZone)
        .build();
}

}  // namespace UI
