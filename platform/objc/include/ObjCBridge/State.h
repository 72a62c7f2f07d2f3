// A C++ state struct attached to a runtime class. The class builder adds it as
// an instance variable; the root class's alloc constructs the states of every
// class in the chain (root first) and its dealloc destroys them (leaf first),
// so a class keeps its fields as ordinary C++ members:
//
//     struct PickerState { bool shouldSaveNewCache = false; ... };
//     objc::state<PickerState>(self).shouldSaveNewCache = true;
#pragma once

#include <ObjCBridge/AnyObject.h>
#include <ObjCBridge/Runtime.h>

namespace objc {

namespace detail {
template <class T>
struct StateSlot {
    static inline std::ptrdiff_t offset = -1;
    static inline Class owner = Nil;
};

using StateHook = void (*)(void*);
void registerState(Class cls, std::ptrdiff_t offset, StateHook construct, StateHook destroy);
}  // namespace detail

// The state of type T inside an instance of the class (or a subclass of the
// class) that the builder attached it to.
template <class T>
inline T& state(AnyObject self) {
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(self.get()) + detail::StateSlot<T>::offset);
}

// Called by the root class: constructs every attached state of the object's
// class chain, root class first; and destroys them, leaf class first.
void constructStates(id object);
void destroyStates(id object);

}  // namespace objc
