// Creates a runtime class under a superclass from C++ functions, or adds
// methods to an existing class (a category). Type encodings come from the
// C++ signatures; a C++ state struct may be attached (see State.h).
//
//     objc::ClassBuilder("PFColorPicker", "UIView"_cls)
//         .state<PickerState>()
//         .method("initWithFrame:", &initWithFrame)   // id (*)(id, SEL, CGRect)
//         .classMethod("cacheImageNameWithFrame:", &cacheName)
//         .build();
#pragma once

#include <ObjCBridge/Encoding.h>
#include <ObjCBridge/Implementation.h>
#include <ObjCBridge/Selector.h>
#include <ObjCBridge/Send.h>
#include <ObjCBridge/State.h>

#include <new>
#include <string>

namespace objc {

namespace detail {
void addMethodOrDie(Class cls, const char* selector, IMP imp, const std::string& types, bool replace);
inline void addMethodOrDie(Class cls, const char* selector, const Implementation& implementation, bool replace) {
    addMethodOrDie(cls, selector, implementation.imp, implementation.types, replace);
}
unsigned char log2Alignment(std::size_t alignment);
}  // namespace detail

class ClassBuilder {
public:
    // Fails loudly when a class of that name exists or the superclass is Nil
    // (pass Nil explicitly only through makeRoot()).
    ClassBuilder(const char* name, Class superclass);
    ClassBuilder(const char* name, const char* superclassName);
    static ClassBuilder makeRoot(const char* name);

    ClassBuilder(const ClassBuilder&) = delete;
    ClassBuilder& operator=(const ClassBuilder&) = delete;
    ClassBuilder(ClassBuilder&& other) noexcept;
    ~ClassBuilder();

    template <class R, class Self, class... Args>
    ClassBuilder& method(const char* selector, R (*fn)(Self*, SEL, Args...)) {
        detail::addMethodOrDie(cls_, selector, implementation(fn), false);
        return *this;
    }

    template <class R, class Self, class... Args>
    ClassBuilder& classMethod(const char* selector, R (*fn)(Self*, SEL, Args...)) {
        detail::addMethodOrDie(object_getClass(reinterpret_cast<id>(cls_)), selector, implementation(fn), false);
        return *this;
    }

    // A plain instance variable (for fields that other code reaches by name).
    ClassBuilder& ivar(const char* name, std::size_t size, std::size_t alignment, const char* type);

    template <class T>
    ClassBuilder& state(const char* ivarName = nullptr) {
        if (detail::StateSlot<T>::owner != Nil) fatal("state type attached to two classes (%s)", name_.c_str());
        std::string ivarLabel = ivarName ? ivarName : "_cxxState_" + name_;
        stateIvar_ = ivarLabel;
        stateConstruct_ = [](void* p) { new (p) T(); };
        stateDestroy_ = [](void* p) { static_cast<T*>(p)->~T(); };
        stateOffset_ = &detail::StateSlot<T>::offset;
        stateOwner_ = &detail::StateSlot<T>::owner;
        return ivar(ivarLabel.c_str(), sizeof(T), alignof(T), "?");
    }

    Class cls() const { return cls_; }

    // Registers the class with the runtime and returns it.
    Class build();

private:
    ClassBuilder() = default;
    Class cls_ = Nil;
    std::string name_;
    bool built_ = false;
    std::string stateIvar_;
    detail::StateHook stateConstruct_ = nullptr;
    detail::StateHook stateDestroy_ = nullptr;
    std::ptrdiff_t* stateOffset_ = nullptr;
    Class* stateOwner_ = nullptr;
};

// Adds (or replaces) methods on an already registered class, as an
// Objective-C category does.
class ClassExtender {
public:
    explicit ClassExtender(Class cls);

    template <class R, class Self, class... Args>
    ClassExtender& method(const char* selector, R (*fn)(Self*, SEL, Args...)) {
        detail::addMethodOrDie(cls_, selector, implementation(fn), true);
        return *this;
    }

    template <class R, class Self, class... Args>
    ClassExtender& classMethod(const char* selector, R (*fn)(Self*, SEL, Args...)) {
        detail::addMethodOrDie(object_getClass(reinterpret_cast<id>(cls_)), selector, implementation(fn), true);
        return *this;
    }

private:
    Class cls_;
};

}  // namespace objc
