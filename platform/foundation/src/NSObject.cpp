// The root class. Reference counts live in a state struct of the root, so
// every object carries one; class objects are never counted.
#include <Foundation/NSObject.h>

#include <atomic>

namespace NS {
namespace {

struct RootState {
    std::atomic<std::uint32_t> extraReferences{0};
};

Class rootClass = Nil;

id allocInstance(Class cls) {
    id object = class_createInstance(cls, 0);
    if (object == nil) objc::fatal("out of memory allocating a %s", class_getName(cls));
    objc::constructStates(object);
    return object;
}

id classAlloc(Class self, SEL) { return allocInstance(self); }
id classAllocWithZone(Class self, SEL, void*) { return allocInstance(self); }
id classNew(Class self, SEL) { return objc::send<id>(objc::send<id>(self, "alloc"_sel), "init"_sel); }
Class classClass(Class self, SEL) { return self; }
Class classSuperclass(Class self, SEL) { return class_getSuperclass(self); }
BOOL classInstancesRespond(Class self, SEL, SEL s) { return class_respondsToSelector(self, s); }
// A class object is not reference counted.
id classRetain(Class self, SEL) { return reinterpret_cast<id>(self); }
void classRelease(Class, SEL) {}
id classAutorelease(Class self, SEL) { return reinterpret_cast<id>(self); }
NSUInteger classRetainCount(Class, SEL) { return NSUInteger(-1); }

id init(id self, SEL) { return self; }

id retain(id self, SEL) {
    objc::state<RootState>(self).extraReferences.fetch_add(1, std::memory_order_relaxed);
    return self;
}

void release(id self, SEL) {
    auto& refs = objc::state<RootState>(self).extraReferences;
    if (refs.load(std::memory_order_acquire) == 0) {
        objc::send<void>(self, "dealloc"_sel);
        return;
    }
    if (refs.fetch_sub(1, std::memory_order_acq_rel) == 0)
        objc::fatal("over-release of a %s", object_getClassName(self));
}

id autorelease(id self, SEL) {
    objc::detail::addToAutoreleasePool(self);
    return self;
}

NSUInteger retainCount(id self, SEL) { return objc::state<RootState>(self).extraReferences.load() + 1; }

void dealloc(id self, SEL) {
    objc::destroyStates(self);
    object_dispose(self);
}

Class instanceClass(id self, SEL) { return object_getClass(self); }
Class instanceSuperclass(id self, SEL) { return class_getSuperclass(object_getClass(self)); }

BOOL isKindOfClass(id self, SEL, Class cls) {
    for (Class c = object_getClass(self); c != Nil; c = class_getSuperclass(c)) {
        if (c == cls) return YES;
    }
    return NO;
}

BOOL isMemberOfClass(id self, SEL, Class cls) { return object_getClass(self) == cls; }
BOOL respondsToSelector(id self, SEL, SEL s) { return class_respondsToSelector(object_getClass(self), s); }
BOOL isEqual(id self, SEL, id other) { return self == other; }
NSUInteger hash(id self, SEL) { return reinterpret_cast<NSUInteger>(self) >> 4; }

id copy(id self, SEL) { return objc::send<id>(self, "copyWithZone:"_sel, static_cast<void*>(nullptr)); }
id mutableCopy(id self, SEL) { return objc::send<id>(self, "mutableCopyWithZone:"_sel, static_cast<void*>(nullptr)); }

id performSelector(id self, SEL, SEL s) { return objc::send<id>(self, s); }
id performSelectorWith(id self, SEL, SEL s, id a) { return objc::send<id>(self, s, a); }
id performSelectorWithWith(id self, SEL, SEL s, id a, id b) { return objc::send<id>(self, s, a, b); }

}  // namespace

void registerRootClass() {
    static const bool registered = [] {
        rootClass = objc::ClassBuilder::makeRoot("NSObject")
                        .state<RootState>("_nsobject")
                        .classMethod("alloc", &classAlloc)
                        .classMethod("allocWithZone:", &classAllocWithZone)
                        .classMethod("new", &classNew)
                        .classMethod("class", &classClass)
                        .classMethod("superclass", &classSuperclass)
                        .classMethod("instancesRespondToSelector:", &classInstancesRespond)
                        .classMethod("retain", &classRetain)
                        .classMethod("release", &classRelease)
                        .classMethod("autorelease", &classAutorelease)
                        .classMethod("retainCount", &classRetainCount)
                        .method("init", &init)
                        .method("retain", &retain)
                        .method("release", &release)
                        .method("autorelease", &autorelease)
                        .method("retainCount", &retainCount)
                        .method("dealloc", &dealloc)
                        .method("class", &instanceClass)
                        .method("superclass", &instanceSuperclass)
                        .method("isKindOfClass:", &isKindOfClass)
                        .method("isMemberOfClass:", &isMemberOfClass)
                        .method("respondsToSelector:", &respondsToSelector)
                        .method("isEqual:", &isEqual)
                        .method("hash", &hash)
                        .method("copy", &copy)
                        .method("mutableCopy", &mutableCopy)
                        .method("performSelector:", &performSelector)
                        .method("performSelector:withObject:", &performSelectorWith)
                        .method("performSelector:withObject:withObject:", &performSelectorWithWith)
                        .build();
        return true;
    }();
    (void)registered;
}

}  // namespace NS
