// Objective-C type encodings derived from C++ types, so that a method's
// encoding always matches the C++ function that implements it. Structs passed
// by value (CGRect, CGPoint, CGSize) specialise objc::Encoding beside their
// definition; any other type without an encoding is a compile-time error.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <string>
#include <type_traits>

namespace objc {

template <class T, class Enable = void>
struct Encoding {
    static_assert(sizeof(T) == 0, "no Objective-C type encoding for this type: specialise objc::Encoding");
};

#define OBJC_BRIDGE_ENCODING(Type, Code)           \
    template <>                                    \
    struct Encoding<Type> {                        \
        static constexpr const char* value = Code; \
    }

OBJC_BRIDGE_ENCODING(void, "v");
OBJC_BRIDGE_ENCODING(bool, "B");
OBJC_BRIDGE_ENCODING(char, "c");
OBJC_BRIDGE_ENCODING(signed char, "c");
OBJC_BRIDGE_ENCODING(unsigned char, "C");
OBJC_BRIDGE_ENCODING(short, "s");
OBJC_BRIDGE_ENCODING(unsigned short, "S");
OBJC_BRIDGE_ENCODING(char16_t, "S");
OBJC_BRIDGE_ENCODING(int, "i");
OBJC_BRIDGE_ENCODING(unsigned int, "I");
OBJC_BRIDGE_ENCODING(long, "l");
OBJC_BRIDGE_ENCODING(unsigned long, "L");
OBJC_BRIDGE_ENCODING(long long, "q");
OBJC_BRIDGE_ENCODING(unsigned long long, "Q");
OBJC_BRIDGE_ENCODING(float, "f");
OBJC_BRIDGE_ENCODING(double, "d");
OBJC_BRIDGE_ENCODING(id, "@");
OBJC_BRIDGE_ENCODING(Class, "#");
OBJC_BRIDGE_ENCODING(SEL, ":");
OBJC_BRIDGE_ENCODING(const char*, "*");
OBJC_BRIDGE_ENCODING(char*, "*");

// Pointers to wrapper classes are objects; other pointers are plain pointers.
template <class T>
struct Encoding<T*, std::enable_if_t<std::is_base_of_v<Object, std::remove_cv_t<T>>>> {
    static constexpr const char* value = "@";
};
template <class T>
struct Encoding<T*, std::enable_if_t<!std::is_base_of_v<Object, std::remove_cv_t<T>> &&
                                     !std::is_same_v<std::remove_cv_t<T>, char> && !std::is_same_v<T*, id> &&
                                     !std::is_same_v<T*, Class>>> {
    static constexpr const char* value = "^v";
};

// "ret@:args..." for an instance method implemented by R(*)(Self*, SEL, Args...).
template <class R, class... Args>
std::string methodTypes() {
    std::string types = Encoding<std::remove_cv_t<R>>::value;
    types += "@:";
    ((types += Encoding<std::remove_cv_t<Args>>::value), ...);
    return types;
}

}  // namespace objc
