// Points, sizes and rectangles, and the helpers that read and combine them.
// All helpers are constexpr values-in, values-out. Like the phone's, the
// rectangle readers work on the standardised rectangle (a negative width or
// height is read as the same rectangle spanned the other way), and the null
// rectangle (origin at infinity) is what an empty intersection gives.
#pragma once

#include <CoreGraphics/CGBase.h>
#include <ObjCBridge/Encoding.h>

#include <limits>

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
};

struct CGVector {
    CGFloat dx = 0;
    CGFloat dy = 0;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
};

enum CGRectEdge { CGRectMinXEdge, CGRectMinYEdge, CGRectMaxXEdge, CGRectMaxYEdge };

inline constexpr CGPoint CGPointZero{0, 0};
inline constexpr CGSize CGSizeZero{0, 0};
inline constexpr CGRect CGRectZero{{0, 0}, {0, 0}};
inline constexpr CGRect CGRectNull{{std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()},
                                   {0, 0}};
inline constexpr CGRect CGRectInfinite{
    {-std::numeric_limits<CGFloat>::max() / 2, -std::numeric_limits<CGFloat>::max() / 2},
    {std::numeric_limits<CGFloat>::max(), std::numeric_limits<CGFloat>::max()}};

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) { return CGPoint{x, y}; }
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) { return CGSize{width, height}; }
constexpr CGVector CGVectorMake(CGFloat dx, CGFloat dy) { return CGVector{dx, dy}; }
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return CGRect{{x, y}, {width, height}};
}

constexpr bool CGRectIsNull(CGRect r) {
    return r.origin.x == std::numeric_limits<CGFloat>::infinity() ||
           r.origin.y == std::numeric_limits<CGFloat>::infinity();
}

constexpr bool CGRectIsInfinite(CGRect r) {
    return r.origin.x == CGRectInfinite.origin.x && r.origin.y == CGRectInfinite.origin.y &&
           r.size.width == CGRectInfinite.size.width && r.size.height == CGRectInfinite.size.height;
}

constexpr CGRect CGRectStandardize(CGRect r) {
    if (CGRectIsNull(r)) return r;
    if (r.size.width < 0) {
        r.origin.x += r.size.width;
        r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
        r.origin.y += r.size.height;
        r.size.height = -r.size.height;
    }
    return r;
}

constexpr CGFloat CGRectGetMinX(CGRect r) { return CGRectStandardize(r).origin.x; }
constexpr CGFloat CGRectGetMinY(CGRect r) { return CGRectStandardize(r).origin.y; }
constexpr CGFloat CGRectGetWidth(CGRect r) { return CGRectStandardize(r).size.width; }
constexpr CGFloat CGRectGetHeight(CGRect r) { return CGRectStandardize(r).size.height; }
constexpr CGFloat CGRectGetMaxX(CGRect r) { return CGRectGetMinX(r) + CGRectGetWidth(r); }
constexpr CGFloat CGRectGetMaxY(CGRect r) { return CGRectGetMinY(r) + CGRectGetHeight(r); }
constexpr CGFloat CGRectGetMidX(CGRect r) { return CGRectGetMinX(r) + CGRectGetWidth(r) / 2; }
constexpr CGFloat CGRectGetMidY(CGRect r) { return CGRectGetMinY(r) + CGRectGetHeight(r) / 2; }

// A rectangle is empty when it is null or has no area.
constexpr bool CGRectIsEmpty(CGRect r) {
    return CGRectIsNull(r) || r.size.width == 0 || r.size.height == 0 || r.size.width != r.size.width ||
           r.size.height != r.size.height;
}

constexpr bool CGPointEqualToPoint(CGPoint a, CGPoint b) { return a.x == b.x && a.y == b.y; }
constexpr bool CGSizeEqualToSize(CGSize a, CGSize b) { return a.width == b.width && a.height == b.height; }

constexpr bool CGRectEqualToRect(CGRect a, CGRect b) {
    if (CGRectIsNull(a) || CGRectIsNull(b)) return CGRectIsNull(a) && CGRectIsNull(b);
    a = CGRectStandardize(a);
    b = CGRectStandardize(b);
    return CGPointEqualToPoint(a.origin, b.origin) && CGSizeEqualToSize(a.size, b.size);
}

// Half-open on both axes: the minimum edges belong to the rectangle, the
// maximum edges do not, so adjoining rectangles never share a point.
constexpr bool CGRectContainsPoint(CGRect r, CGPoint p) {
    if (CGRectIsNull(r)) return false;
    r = CGRectStandardize(r);
    const CGFloat dx = p.x - r.origin.x;
    const CGFloat dy = p.y - r.origin.y;
    return dx >= 0 && dx < r.size.width && dy >= 0 && dy < r.size.height;
}

constexpr CGRect CGRectIntersection(CGRect a, CGRect b) {
    if (CGRectIsNull(a) || CGRectIsNull(b)) return CGRectNull;
    a = CGRectStandardize(a);
    b = CGRectStandardize(b);
    const CGFloat x1 = a.origin.x > b.origin.x ? a.origin.x : b.origin.x;
    const CGFloat y1 = a.origin.y > b.origin.y ? a.origin.y : b.origin.y;
    const CGFloat ax2 = a.origin.x + a.size.width, bx2 = b.origin.x + b.size.width;
    const CGFloat ay2 = a.origin.y + a.size.height, by2 = b.origin.y + b.size.height;
    const CGFloat x2 = ax2 < bx2 ? ax2 : bx2;
    const CGFloat y2 = ay2 < by2 ? ay2 : by2;
    if (!(x2 >= x1) || !(y2 >= y1)) return CGRectNull;
    return CGRectMake(x1, y1, x2 - x1, y2 - y1);
}

// True when the rectangles share some area (touching edges do not count).
constexpr bool CGRectIntersectsRect(CGRect a, CGRect b) {
    const CGRect i = CGRectIntersection(a, b);
    return !CGRectIsNull(i) && i.size.width > 0 && i.size.height > 0;
}

constexpr CGRect CGRectUnion(CGRect a, CGRect b) {
    if (CGRectIsNull(a)) return CGRectStandardize(b);
    if (CGRectIsNull(b)) return CGRectStandardize(a);
    a = CGRectStandardize(a);
    b = CGRectStandardize(b);
    const CGFloat x1 = a.origin.x < b.origin.x ? a.origin.x : b.origin.x;
    const CGFloat y1 = a.origin.y < b.origin.y ? a.origin.y : b.origin.y;
    const CGFloat ax2 = a.origin.x + a.size.width, bx2 = b.origin.x + b.size.width;
    const CGFloat ay2 = a.origin.y + a.size.height, by2 = b.origin.y + b.size.height;
    return CGRectMake(x1, y1, (ax2 > bx2 ? ax2 : bx2) - x1, (ay2 > by2 ? ay2 : by2) - y1);
}

constexpr bool CGRectContainsRect(CGRect outer, CGRect inner) {
    if (CGRectIsNull(outer) || CGRectIsNull(inner)) return false;
    return CGRectEqualToRect(CGRectUnion(outer, inner), CGRectStandardize(outer));
}

// Moves each edge inwards by dx and dy; a rectangle inset past its own size is
// the null rectangle.
constexpr CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0) return CGRectNull;
    return r;
}

constexpr CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
}

namespace cg_detail {
constexpr CGFloat floorValue(CGFloat v) {
    if (!(v > -4503599627370496.0 && v < 4503599627370496.0)) return v;  // no fraction beyond 2^52
    const CGFloat t = static_cast<CGFloat>(static_cast<long long>(v));
    return t > v ? t - 1 : t;
}
constexpr CGFloat ceilValue(CGFloat v) { return -floorValue(-v); }
}  // namespace cg_detail

// The smallest rectangle with whole-number edges that contains r.
constexpr CGRect CGRectIntegral(CGRect r) {
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    const CGFloat x1 = cg_detail::floorValue(r.origin.x), y1 = cg_detail::floorValue(r.origin.y);
    const CGFloat x2 = cg_detail::ceilValue(r.origin.x + r.size.width);
    const CGFloat y2 = cg_detail::ceilValue(r.origin.y + r.size.height);
    return CGRectMake(x1, y1, x2 - x1, y2 - y1);
}

// Cuts amount off the given edge of r into *slice and leaves the rest in
// *remainder.
constexpr void CGRectDivide(CGRect r, CGRect* slice, CGRect* remainder, CGFloat amount, CGRectEdge edge) {
    r = CGRectStandardize(r);
    if (amount < 0) amount = 0;
    CGRect s = r, rest = r;
    const bool horizontal = edge == CGRectMinXEdge || edge == CGRectMaxXEdge;
    const CGFloat extent = horizontal ? r.size.width : r.size.height;
    if (amount > extent) amount = extent;
    switch (edge) {
    case CGRectMinXEdge:
        s.size.width = amount;
        rest.origin.x += amount;
        rest.size.width -= amount;
        break;
    case CGRectMaxXEdge:
        s.origin.x = r.origin.x + r.size.width - amount;
        s.size.width = amount;
        rest.size.width -= amount;
        break;
    case CGRectMinYEdge:
        s.size.height = amount;
        rest.origin.y += amount;
        rest.size.height -= amount;
        break;
    case CGRectMaxYEdge:
        s.origin.y = r.origin.y + r.size.height - amount;
        s.size.height = amount;
        rest.size.height -= amount;
        break;
    }
    if (slice) *slice = s;
    if (remainder) *remainder = rest;
}

// Type encodings, so that methods taking or returning geometry by value can be
// built from their C++ signatures.
template <>
struct objc::Encoding<CGPoint> {
    static constexpr const char* value = "{CGPoint=dd}";
};
template <>
struct objc::Encoding<CGSize> {
    static constexpr const char* value = "{CGSize=dd}";
};
template <>
struct objc::Encoding<CGVector> {
    static constexpr const char* value = "{CGVector=dd}";
};
template <>
struct objc::Encoding<CGRect> {
    static constexpr const char* value = "{CGRect={CGPoint=dd}{CGSize=dd}}";
};
