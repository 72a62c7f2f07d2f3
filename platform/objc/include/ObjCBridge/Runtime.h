// The Objective-C runtime as the platform's C++ code sees it: GNU libobjc's
// C interface plus the scalar types every framework header shares.
#pragma once

#include <objc/message.h>
#include <objc/runtime.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

using NSInteger = long;
using NSUInteger = unsigned long;

namespace objc {

// Tag base of every typed wrapper class (NS::String, UI::View, ...). A wrapper
// is only ever a typed view of an object pointer: it is never constructed,
// copied or destroyed by C++.
class Object {
public:
    Object() = delete;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    ~Object() = delete;
};

// Reinterprets any object pointer as another wrapper type (or as id).
template <class T, class U>
inline T* cast(U* object) noexcept {
    return reinterpret_cast<T*>(const_cast<std::remove_const_t<U>*>(object));
}

template <class U>
inline id asId(U* object) noexcept {
    return reinterpret_cast<id>(const_cast<std::remove_const_t<U>*>(object));
}

// Fails loudly: used for programmer mistakes (a bad type encoding, a class
// registered twice, an autorelease without a pool). Prints and aborts.
[[noreturn]] void fatal(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace objc
