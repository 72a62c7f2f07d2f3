// Affine transforms: x' = a·x + c·y + tx, y' = b·x + d·y + ty. Concatenation
// CGAffineTransformConcat(t1, t2) applies t1 first, then t2.
#pragma once

#include <CoreGraphics/CGGeometry.h>

#include <cmath>

struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1;
    CGFloat tx = 0, ty = 0;
};

inline constexpr CGAffineTransform CGAffineTransformIdentity{1, 0, 0, 1, 0, 0};

constexpr CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty) {
    return CGAffineTransform{a, b, c, d, tx, ty};
}
constexpr CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
    return CGAffineTransform{1, 0, 0, 1, tx, ty};
}
constexpr CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) {
    return CGAffineTransform{sx, 0, 0, sy, 0, 0};
}
inline CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle) {
    const CGFloat s = std::sin(angle), c = std::cos(angle);
    return CGAffineTransform{c, s, -s, c, 0, 0};
}

constexpr bool CGAffineTransformIsIdentity(CGAffineTransform t) {
    return t.a == 1 && t.b == 0 && t.c == 0 && t.d == 1 && t.tx == 0 && t.ty == 0;
}
constexpr bool CGAffineTransformEqualToTransform(CGAffineTransform t1, CGAffineTransform t2) {
    return t1.a == t2.a && t1.b == t2.b && t1.c == t2.c && t1.d == t2.d && t1.tx == t2.tx && t1.ty == t2.ty;
}

constexpr CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2) {
    return CGAffineTransform{t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
                             t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
                             t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

// The transform-and-then forms apply the new operation first, in t's own space.
constexpr CGAffineTransform CGAffineTransformTranslate(CGAffineTransform t, CGFloat tx, CGFloat ty) {
    return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), t);
}
constexpr CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy) {
    return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}
inline CGAffineTransform CGAffineTransformRotate(CGAffineTransform t, CGFloat angle) {
    return CGAffineTransformConcat(CGAffineTransformMakeRotation(angle), t);
}

// A singular transform has no inverse and is returned unchanged.
constexpr CGAffineTransform CGAffineTransformInvert(CGAffineTransform t) {
    const CGFloat det = t.a * t.d - t.b * t.c;
    if (det == 0 || det != det) return t;
    const CGFloat a = t.d / det, b = -t.b / det, c = -t.c / det, d = t.a / det;
    return CGAffineTransform{a, b, c, d, -(t.tx * a + t.ty * c), -(t.tx * b + t.ty * d)};
}

constexpr CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t) {
    return CGPoint{t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}
constexpr CGSize CGSizeApplyAffineTransform(CGSize s, CGAffineTransform t) {
    return CGSize{t.a * s.width + t.c * s.height, t.b * s.width + t.d * s.height};
}

// The bounding box of the transformed rectangle.
constexpr CGRect CGRectApplyAffineTransform(CGRect r, CGAffineTransform t) {
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    const CGPoint p[4] = {
        CGPointApplyAffineTransform(r.origin, t),
        CGPointApplyAffineTransform(CGPointMake(r.origin.x + r.size.width, r.origin.y), t),
        CGPointApplyAffineTransform(CGPointMake(r.origin.x, r.origin.y + r.size.height), t),
        CGPointApplyAffineTransform(CGPointMake(r.origin.x + r.size.width, r.origin.y + r.size.height), t)};
    CGFloat x1 = p[0].x, x2 = p[0].x, y1 = p[0].y, y2 = p[0].y;
    for (const CGPoint& q : p) {
        x1 = q.x < x1 ? q.x : x1;
        x2 = q.x > x2 ? q.x : x2;
        y1 = q.y < y1 ? q.y : y1;
        y2 = q.y > y2 ? q.y : y2;
    }
    return CGRectMake(x1, y1, x2 - x1, y2 - y1);
}

template <>
struct objc::Encoding<CGAffineTransform> {
    static constexpr const char* value = "{CGAffineTransform=dddddd}";
};
