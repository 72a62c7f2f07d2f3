// The one typed dispatch primitive. A send looks the implementation up in the
// runtime (so hooks and subclass overrides always take effect) and calls it
// through a function pointer of the exact C++ type. Arguments travel as their
// C++ types, so callers pass values of the method's parameter types (a
// CGFloat, not an int literal).
#pragma once

#include <ObjCBridge/AnyObject.h>
#include <ObjCBridge/Runtime.h>

#include <type_traits>

namespace objc {

namespace detail {
// Function pointer conversions go through void(*)() so that the compiler
// accepts them as the deliberate reinterpretations they are.
template <class F>
inline F impAs(IMP imp) noexcept {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(imp));
}
template <class F>
inline IMP toImp(F fn) noexcept {
    return reinterpret_cast<IMP>(reinterpret_cast<void (*)()>(fn));
}

// An argument travels as the parameter type of the method's implementation;
// no implementation takes an AnyObject, so a wrapper passes `object.get()`.
template <class... Args>
inline constexpr bool noAnyObject = (!std::is_same_v<std::remove_cv_t<Args>, AnyObject> && ...);

template <class R>
inline R zeroValue() {
    if constexpr (std::is_void_v<R>) {
        return;
    } else {
        return R{};
    }
}
}  // namespace detail

// A message to nil calls nothing and gives the zero value of the result type
// (nil, 0, NO, a zeroed struct).
template <class R = void, class Self, class... Args>
inline R send(Self* self, SEL selector, Args... args) {
    static_assert(detail::noAnyObject<Args...>, "pass an objc::AnyObject to a send as object.get()");
    id receiver = asId(self);
    if (receiver == nil) return detail::zeroValue<R>();
    IMP imp = objc_msg_lookup(receiver, selector);
    return detail::impAs<R (*)(id, SEL, Args...)>(imp)(receiver, selector, args...);
}

// A super send from a method defined on `definingClass` (for a class method,
// pass the metaclass): the lookup starts at that class's superclass.
template <class R = void, class Self, class... Args>
inline R sendSuper(Self* self, Class definingClass, SEL selector, Args... args) {
    static_assert(detail::noAnyObject<Args...>, "pass an objc::AnyObject to a send as object.get()");
    id receiver = asId(self);
    if (receiver == nil) return detail::zeroValue<R>();
    objc_super super{receiver, class_getSuperclass(definingClass)};
    IMP imp = objc_msg_lookup_super(&super, selector);
    return detail::impAs<R (*)(id, SEL, Args...)>(imp)(receiver, selector, args...);
}

// Calls an implementation pointer directly (a saved implementation of a hook).
template <class R = void, class Self, class... Args>
inline R callImp(IMP imp, Self* self, SEL selector, Args... args) {
    static_assert(detail::noAnyObject<Args...>, "pass an objc::AnyObject to a send as object.get()");
    return detail::impAs<R (*)(id, SEL, Args...)>(imp)(asId(self), selector, args...);
}

inline BOOL respondsTo(AnyObject object, SEL selector) {
    id o = object.get();
    return o != nil && class_respondsToSelector(object_getClass(o), selector);
}

}  // namespace objc
