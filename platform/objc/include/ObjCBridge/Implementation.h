// A C++ function as a method implementation: the IMP to hand to the runtime
// (class_addMethod, a hook) and the Objective-C type encoding derived from the
// function's own signature, so that the two can never disagree.
//
//     id getRandomColor(id self, SEL);
//     const objc::Implementation random = objc::implementation(&getRandomColor);
//     class_addMethod(cls, "getRandomColor"_sel, random.imp, random.types.c_str());   // "@@:"
#pragma once

#include <ObjCBridge/Encoding.h>
#include <ObjCBridge/Send.h>

#include <string>

namespace objc {

struct Implementation {
    IMP imp;
    std::string types;
};

// For an instance or a class method implemented by R(*)(Self*, SEL, Args...);
// the receiver is encoded as an object either way, as the runtime does.
template <class R, class Self, class... Args>
Implementation implementation(R (*fn)(Self*, SEL, Args...)) {
    return {detail::toImp(fn), methodTypes<R, Args...>()};
}

}  // namespace objc
