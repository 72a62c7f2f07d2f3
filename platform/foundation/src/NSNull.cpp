// NSNull: one shared instance, never deallocated.
#include <Foundation/NSNull.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"

namespace NS::internal {
namespace {

Class nullClass = Nil;

id classNull(Class, SEL) {
    static id const shared = objc::send<id>(objc::send<id>(nullClass, "alloc"_sel), "init"_sel);
    return shared;
}

id copyWithZone(id self, SEL, void*) { return objc::retain(self); }
id description(id, SEL) { return "<null>"_ns->asId(); }

}  // namespace

void registerNull() {
    nullClass = objc::ClassBuilder("NSNull", "NSObject"_cls)
                    .classMethod("null", &classNull)
                    .method("copyWithZone:", &copyWithZone)
                    .method("description", &description)
                    .build();
}

}  // namespace NS::internal
