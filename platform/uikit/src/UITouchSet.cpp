#include <Foundation/NSArray.h>
#include <UIKit/UITouch.h>

#include "TouchInternals.h"
#include "UIKitRegistration.h"

#include <algorithm>

namespace UI {
namespace {

struct SetState {
    std::vector<id> objects;  // each retained, each once
    ~SetState() {
        for (id o : objects) objc::release(o);
    }
};

SetState& stateOf(id self) { return objc::state<SetState>(self); }

id anyObject(id self, SEL) {
    const auto& objects = stateOf(self).objects;
    return objects.empty() ? nil : objects.front();
}
NSUInteger count(id self, SEL) { return stateOf(self).objects.size(); }
BOOL containsObject(id self, SEL, id object) {
    for (id o : stateOf(self).objects) {
        if (o == object || objc::send<BOOL>(o, "isEqual:"_sel, object)) return YES;
    }
    return NO;
}
id allObjects(id self, SEL) {
    const auto& objects = stateOf(self).objects;
    return objc::asId(NS::Array::arrayWithObjects(objects.data(), objects.size()));
}

// Sets never change: a copy is the set itself.
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

namespace detail {

id touchSetWith(const std::vector<id>& objects) {
    id set = objc::send<id>(objc::send<id>("UITouchSet"_cls, "alloc"_sel), "init"_sel);
    auto& mine = stateOf(set).objects;
    for (id o : objects) {
        if (o != nil && std::find(mine.begin(), mine.end(), o) == mine.end()) mine.push_back(objc::retain(o));
    }
    return objc::send<id>(set, "autorelease"_sel);
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
