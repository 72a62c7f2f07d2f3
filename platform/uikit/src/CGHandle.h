// A Core Graphics object (a colour, an image) held at +1: retained on copy
// and on assignment, released when the holder goes. Core Graphics' handles
// are not runtime objects, so Ref<T> cannot hold them. Internal to UIKit.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <utility>

namespace UI::detail {

template <class T, T (*Retain)(T), void (*Release)(T)>
class CGHandle {
public:
    CGHandle() noexcept = default;
    CGHandle(const CGHandle& other) : handle_(retained(other.handle_)) {}
    CGHandle& operator=(const CGHandle& other) { return *this = other.handle_; }
    // Retains what it is given: the caller keeps its own reference.
    CGHandle& operator=(T handle) {
        T old = std::exchange(handle_, retained(handle));
        if (old != nullptr) Release(old);
        return *this;
    }
    ~CGHandle() {
        if (handle_ != nullptr) Release(handle_);
    }

    // Takes over a +1 reference (a Create result) without retaining it again.
    static CGHandle adopt(T handle) noexcept {
        CGHandle h;
        h.handle_ = handle;
        return h;
    }

    T get() const noexcept { return handle_; }
    operator T() const noexcept { return handle_; }

private:
    static T retained(T handle) { return handle != nullptr ? Retain(handle) : nullptr; }
    T handle_ = nullptr;
};

using ColorHandle = CGHandle<CGColorRef, CGColorRetain, CGColorRelease>;
using ImageHandle = CGHandle<CGImageRef, CGImageRetain, CGImageRelease>;

}  // namespace UI::detail
