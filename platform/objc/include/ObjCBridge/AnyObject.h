// objc::AnyObject is the parameter type for "any object": what a method that
// takes an `id` on the phone takes here (an array's element, a dictionary's
// key, a target, a delegate, the value of a settings row).
//
//     void addObject(objc::AnyObject object) {
//         objc::send<void>(this, "addObject:"_sel, object.get());
//     }
//
// It converts implicitly from what Objective-C lets stand for an id: `id`,
// `Class`, nil (nullptr), a pointer to any wrapper class, const or not (every
// wrapper derives from objc::Object, so this is the derived-to-base pointer
// conversion), and a Ref of one. It converts from nothing else: a void*, a C
// string, an int*, a Core Foundation reference, a selector or an integer
// handed where an object belongs is a compile-time error, not a crash inside
// the runtime. A pointer to a wrapper class that is only declared there does
// not convert either; include its header.
//
// It is a parameter type and nothing more: trivially copyable, one pointer
// wide, every conversion inline and free. Wrappers hand `get()` to the send,
// so the message travels with an `id` argument exactly as before; objc::send
// refuses an AnyObject argument, and no method implementation takes one
// (objc::Encoding has no entry for it), so the type never reaches the runtime.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <cstddef>
#include <type_traits>

namespace objc {

template <class T>
class Ref;

class AnyObject {
public:
    constexpr AnyObject(std::nullptr_t) noexcept {}
    constexpr AnyObject(id object) noexcept : object_(object) {}
    AnyObject(Class cls) noexcept : object_(reinterpret_cast<id>(cls)) {}
    AnyObject(const Object* object) noexcept : object_(asId(object)) {}
    template <class T, class = std::enable_if_t<std::is_convertible_v<T*, const Object*>>>
    AnyObject(const Ref<T>& object) noexcept : object_(asId(object.get())) {}

    // The object as the id to send; nil for nil.
    id get() const noexcept { return object_; }

private:
    id object_ = nil;
};

static_assert(std::is_trivially_copyable_v<AnyObject> && sizeof(AnyObject) == sizeof(id));

}  // namespace objc
