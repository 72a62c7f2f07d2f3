// NSObject, the root class of every runtime object of the platform, and its
// typed wrapper NS::Object. Ownership follows the Objective-C conventions:
// alloc/new/copy/mutableCopy give +1, everything else +0.
#pragma once

#include <ObjCBridge/ObjCBridge.h>

#include <initializer_list>

namespace NS {

class String;

class Object : public objc::Object {
public:
    static Object* alloc() { return objc::send<Object*>("NSObject"_cls, "alloc"_sel); }
    static Object* new_() { return objc::send<Object*>("NSObject"_cls, "new"_sel); }

    Object* init() { return objc::send<Object*>(this, "init"_sel); }
    Object* retain() { return objc::send<Object*>(this, "retain"_sel); }
    void release() { objc::send<void>(this, "release"_sel); }
    Object* autorelease() { return objc::send<Object*>(this, "autorelease"_sel); }
    NSUInteger retainCount() const { return objc::send<NSUInteger>(this, "retainCount"_sel); }
    Object* copy() const { return objc::send<Object*>(this, "copy"_sel); }
    Object* mutableCopy() const { return objc::send<Object*>(this, "mutableCopy"_sel); }

    Class class_() const { return objc::send<Class>(this, "class"_sel); }
    Class superclass() const { return objc::send<Class>(this, "superclass"_sel); }
    BOOL isKindOfClass(Class cls) const { return objc::send<BOOL>(this, "isKindOfClass:"_sel, cls); }
    BOOL isMemberOfClass(Class cls) const { return objc::send<BOOL>(this, "isMemberOfClass:"_sel, cls); }
    BOOL respondsToSelector(SEL s) const { return objc::send<BOOL>(this, "respondsToSelector:"_sel, s); }
    BOOL isEqual(objc::AnyObject other) const { return objc::send<BOOL>(this, "isEqual:"_sel, other.get()); }
    NSUInteger hash() const { return objc::send<NSUInteger>(this, "hash"_sel); }
    String* description() const { return objc::send<String*>(this, "description"_sel); }

    id performSelector(SEL s) { return objc::send<id>(this, "performSelector:"_sel, s); }
    id performSelector(SEL s, objc::AnyObject object) {
        return objc::send<id>(this, "performSelector:withObject:"_sel, s, object.get());
    }
    id performSelector(SEL s, objc::AnyObject a, objc::AnyObject b) {
        return objc::send<id>(this, "performSelector:withObject:withObject:"_sel, s, a.get(), b.get());
    }
    // Runs the selector on the main run loop after the delay; the target and
    // the argument are retained until it has run.
    void performSelector(SEL s, objc::AnyObject object, double delay) {
        objc::send<void>(this, "performSelector:withObject:afterDelay:"_sel, s, object.get(), delay);
    }

    static BOOL instancesRespondToSelector(Class cls, SEL s) {
        return objc::send<BOOL>(cls, "instancesRespondToSelector:"_sel, s);
    }

    id asId() const { return objc::asId(this); }
};

namespace detail {
// The objects of a C++ list as the `const id*` that the ...count: methods
// take (a wrapper pointer is the object pointer).
inline const id* idList(std::initializer_list<const objc::Object*> objects) {
    return reinterpret_cast<const id*>(const_cast<objc::Object* const*>(objects.begin()));
}
}  // namespace detail

// Registers NSObject with the runtime. Every Foundation entry point calls it;
// it runs once.
void registerRootClass();

}  // namespace NS

// NSClassFromString's C++ face: the class of that name, or Nil.
inline Class NSClassFromString(const char* name) { return objc_getClass(name); }
