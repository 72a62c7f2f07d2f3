// Type encodings of the Core Graphics object types that UIKit methods take
// and return (colours, images, contexts), so that such methods can be built
// from their C++ signatures.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/Encoding.h>

template <>
struct objc::Encoding<CGColorRef> {
    static constexpr const char* value = "^{CGColor=}";
};
template <>
struct objc::Encoding<CGImageRef> {
    static constexpr const char* value = "^{CGImage=}";
};
template <>
struct objc::Encoding<CGContextRef> {
    static constexpr const char* value = "^{CGContext=}";
};
