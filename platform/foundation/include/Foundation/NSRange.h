// NSRange, the location and length of a piece of a string or an array, in
// the units of the container (UTF-16 units for strings).
#pragma once

#include <ObjCBridge/Encoding.h>
#include <ObjCBridge/Runtime.h>

#include <climits>

struct NSRange {
    NSUInteger location;
    NSUInteger length;
};

// The location a search reports when it finds nothing.
inline constexpr NSInteger NSNotFound = LONG_MAX;

constexpr NSRange NSMakeRange(NSUInteger location, NSUInteger length) { return NSRange{location, length}; }
constexpr NSUInteger NSMaxRange(NSRange r) { return r.location + r.length; }
constexpr bool NSEqualRanges(NSRange a, NSRange b) { return a.location == b.location && a.length == b.length; }

template <>
struct objc::Encoding<NSRange> {
    static constexpr const char* value = "{_NSRange=LL}";
};

// The result of compare: methods.
using NSComparisonResult = NSInteger;
inline constexpr NSComparisonResult NSOrderedAscending = -1;
inline constexpr NSComparisonResult NSOrderedSame = 0;
inline constexpr NSComparisonResult NSOrderedDescending = 1;
