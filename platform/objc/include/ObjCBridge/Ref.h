// Ref<T> holds a strong reference to a runtime object: it retains on copy and
// construction from a raw pointer, releases on destruction. Results at +1
// (alloc, new, copy, init...) are taken over with objc::adopt, which does not
// retain again.
//
//     Ref<UI::View> view = objc::adopt(UI::View::alloc()->initWithFrame(r));
//     Ref<NS::String> name = dict->objectForKey(k);   // +0, retained here
#pragma once

#include <ObjCBridge/AnyObject.h>
#include <ObjCBridge/Selector.h>
#include <ObjCBridge/Send.h>

#include <cstddef>
#include <utility>

namespace objc {

inline id retain(AnyObject object) { return send<id>(object.get(), "retain"_sel); }
inline void release(AnyObject object) { send<void>(object.get(), "release"_sel); }
inline id autorelease(AnyObject object) { return send<id>(object.get(), "autorelease"_sel); }

// Ref<T> sends retain and release to asId(object_), not to the T*, so that a
// Ref of a class only declared where it is copied or destroyed still compiles.
template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* object) : object_(object) { retain(asId(object_)); }
    Ref(const Ref& other) : object_(other.object_) { retain(asId(object_)); }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other) : object_(other.get()) {
        retain(asId(object_));
    }

    ~Ref() { release(asId(object_)); }

    Ref& operator=(const Ref& other) {
        Ref(other).swap(*this);
        return *this;
    }
    Ref& operator=(Ref&& other) noexcept {
        Ref(std::move(other)).swap(*this);
        return *this;
    }
    Ref& operator=(T* object) {
        Ref(object).swap(*this);
        return *this;
    }

    // Takes over a +1 reference without retaining it again.
    static Ref adopt(T* object) noexcept {
        Ref r;
        r.object_ = object;
        return r;
    }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    operator T*() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    // Gives up ownership without releasing: the caller now holds the +1.
    [[nodiscard]] T* detach() noexcept { return std::exchange(object_, nullptr); }
    void reset() { Ref().swap(*this); }
    void swap(Ref& other) noexcept { std::swap(object_, other.object_); }

private:
    T* object_ = nullptr;
};

template <class T>
inline Ref<T> adopt(T* object) noexcept {
    return Ref<T>::adopt(object);
}

// Hands a held object over at +0, as a convenience constructor returns it:
// autoreleased, so that it lives until the current pool is drained.
//
//     Ref<UI::View> view = objc::adopt(UI::View::alloc()->initWithFrame(r));
//     ...
//     return objc::autoreleased(std::move(view));
template <class T>
inline T* autoreleased(Ref<T>&& object) {
    return reinterpret_cast<T*>(autorelease(asId(object.detach())));
}

// A copy of the object (nil for nil), held: what a property declared "copy"
// keeps of the value it is given, so that a mutable string changed later does
// not change it.
template <class T>
inline Ref<T> copyOf(const T* object) {
    return adopt(object != nullptr ? reinterpret_cast<T*>(send<id>(object, "copy"_sel)) : nullptr);
}

}  // namespace objc

using objc::Ref;
