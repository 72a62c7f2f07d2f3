// Cached selectors and classes: "setFrame:"_sel and "UIView"_cls look their
// name up once per distinct literal and then answer from a static.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <algorithm>

namespace objc::detail {

template <std::size_t N>
struct FixedString {
    char text[N]{};
    constexpr FixedString(const char (&s)[N]) { std::copy_n(s, N, text); }
};

}  // namespace objc::detail

template <objc::detail::FixedString Name>
inline SEL operator""_sel() {
    static const SEL selector = sel_registerName(Name.text);
    return selector;
}

// A class lookup is cached only once it succeeds: a class registered later
// (the app hosts register framework classes at launch) is still found.
template <objc::detail::FixedString Name>
inline Class operator""_cls() {
    static Class cached = Nil;
    if (cached == Nil) cached = objc_getClass(Name.text);
    return cached;
}

namespace objc {

inline SEL sel(const char* name) { return sel_registerName(name); }
inline Class cls(const char* name) { return objc_getClass(name); }
inline const char* selName(SEL s) { return sel_getName(s); }

}  // namespace objc
