#include <Foundation/NSString.h>
#include <UIKit/NSIndexPath.h>

#include "UIKitRegistration.h"

namespace UI {
namespace {

struct IndexPathState {
    NSInteger section = 0;
    NSInteger row = 0;
};

IndexPathState& stateOf(id self) { return objc::state<IndexPathState>(self); }

id indexPathForRow(Class self, SEL, NSInteger row, NSInteger section) {
    id path = objc::asId(objc::send<NS::Object*>(self, "alloc"_sel)->init());
    stateOf(path) = IndexPathState{section, row};
    return objc::autorelease(path);
}

NSInteger row(id self, SEL) { return stateOf(self).row; }
NSInteger section(id self, SEL) { return stateOf(self).section; }

bool isIndexPath(id object) {
    return object != nil && objc::cast<NS::Object>(object)->isKindOfClass("NSIndexPath"_cls);
}

BOOL isEqual(id self, SEL, id other) {
    if (!isIndexPath(other)) return NO;
    return stateOf(self).section == stateOf(other).section && stateOf(self).row == stateOf(other).row;
}

NSUInteger hash(id self, SEL) {
    return static_cast<NSUInteger>(stateOf(self).section) * 1000003u + static_cast<NSUInteger>(stateOf(self).row);
}

NSComparisonResult compare(id self, SEL, id other) {
    if (!isIndexPath(other)) objc::fatal("-[NSIndexPath compare:] needs another index path");
    const IndexPathState &a = stateOf(self), &b = stateOf(other);
    if (a.section != b.section) return a.section < b.section ? NSOrderedAscending : NSOrderedDescending;
    if (a.row != b.row) return a.row < b.row ? NSOrderedAscending : NSOrderedDescending;
    return NSOrderedSame;
}

id description(id self, SEL) {
    return objc::asId(NS::String::stringWithFormat("<NSIndexPath> {length = 2, path = %ld - %ld}"_ns,
                                                   stateOf(self).section, stateOf(self).row));
}

id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

void registerIndexPath() {
    objc::ClassBuilder("NSIndexPath", "NSObject"_cls)
        .state<IndexPathState>()
        .classMethod("indexPathForRow:inSection:", &indexPathForRow)
        .method("row", &row)
        .method("section", &section)
        .method("isEqual:", &isEqual)
        .method("hash", &hash)
        .method("compare:", &compare)
        .method("description", &description)
        .method("copyWithZone:", &copyWithZone)
        .build();
}

}  // namespace UI
