#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/AutoreleasePool.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(Geometry, ContainsPointIsHalfOpen) {
    const CGRect r = CGRectMake(0, 0, 320, 240);
    struct Case {
        CGPoint p;
        bool inside;
    };
    for (const Case k : {Case{{0, 0}, true}, Case{{319.999, 239.999}, true}, Case{{320, 10}, false},
                         Case{{10, 240}, false}, Case{{-0.001, 10}, false}, Case{{NAN, 10}, false}}) {
        EXPECT_EQ(CGRectContainsPoint(r, k.p), k.inside) << k.p.x << "," << k.p.y;
    }
    // A rectangle spanned backwards contains the same points.
    EXPECT_TRUE(CGRectContainsPoint(CGRectMake(10, 10, -10, -10), CGPointMake(0, 0)));
    EXPECT_FALSE(CGRectContainsPoint(CGRectMake(10, 10, -10, -10), CGPointMake(10, 5)));
    EXPECT_FALSE(CGRectContainsPoint(CGRectZero, CGPointZero));
    EXPECT_FALSE(CGRectContainsPoint(CGRectNull, CGPointZero));
}

TEST(Geometry, IntersectionUnionInset) {
    static_assert(CGRectEqualToRect(CGRectIntersection(CGRectMake(0, 0, 10, 10), CGRectMake(5, -5, 10, 10)),
                                    CGRectMake(5, 0, 5, 5)));
    EXPECT_TRUE(CGRectIsNull(CGRectIntersection(CGRectMake(0, 0, 10, 10), CGRectMake(20, 0, 5, 5))));
    EXPECT_FALSE(CGRectIntersectsRect(CGRectMake(0, 0, 10, 10), CGRectMake(10, 0, 5, 5)));
    EXPECT_TRUE(CGRectEqualToRect(CGRectUnion(CGRectNull, CGRectMake(1, 2, 3, 4)), CGRectMake(1, 2, 3, 4)));
    EXPECT_TRUE(CGRectEqualToRect(CGRectUnion(CGRectMake(0, 0, 1, 1), CGRectMake(4, 5, 1, 1)), CGRectMake(0, 0, 5, 6)));
    EXPECT_TRUE(CGRectEqualToRect(CGRectInset(CGRectMake(0, 0, 10, 20), 2, 3), CGRectMake(2, 3, 6, 14)));
    EXPECT_TRUE(CGRectIsNull(CGRectInset(CGRectMake(0, 0, 10, 20), 6, 0)));
    EXPECT_TRUE(CGRectEqualToRect(CGRectOffset(CGRectMake(10, 10, -4, 2), 1, 1), CGRectMake(7, 11, 4, 2)));
    EXPECT_TRUE(CGRectEqualToRect(CGRectIntegral(CGRectMake(0.5, -0.5, 1, 1.2)), CGRectMake(0, -1, 2, 2)));
    EXPECT_EQ(CGRectGetMaxX(CGRectMake(10, 0, -4, 0)), 10);
    EXPECT_EQ(CGRectGetMinX(CGRectMake(10, 0, -4, 0)), 6);
    EXPECT_EQ(CGRectGetWidth(CGRectMake(10, 0, -4, 0)), 4);
    EXPECT_TRUE(CGRectContainsRect(CGRectMake(0, 0, 10, 10), CGRectMake(2, 2, 3, 3)));
    EXPECT_FALSE(CGRectContainsRect(CGRectMake(0, 0, 10, 10), CGRectMake(8, 8, 3, 3)));
}

TEST(Geometry, TransformsComposeInOrder) {
    const CGAffineTransform t = CGAffineTransformScale(CGAffineTransformMakeTranslation(0, 36), 1, -1);
    // Flip: translate, then scale in the translated space.
    const CGPoint p = CGPointApplyAffineTransform(CGPointMake(10, 15), t);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 21);
    const CGAffineTransform inverse = CGAffineTransformInvert(t);
    const CGPoint back = CGPointApplyAffineTransform(p, inverse);
    EXPECT_EQ(back.x, 10);
    EXPECT_EQ(back.y, 15);
    const CGAffineTransform r = CGAffineTransformMakeRotation(M_PI / 2);
    const CGPoint q = CGPointApplyAffineTransform(CGPointMake(1, 0), r);
    EXPECT_NEAR(q.x, 0, 1e-12);
    EXPECT_NEAR(q.y, 1, 1e-12);
    const CGRect box = CGRectApplyAffineTransform(CGRectMake(0, 0, 2, 1), r);
    EXPECT_NEAR(box.origin.x, -1, 1e-12);
    EXPECT_NEAR(box.size.width, 1, 1e-12);
    EXPECT_NEAR(box.size.height, 2, 1e-12);
    // A singular transform has no inverse and comes back unchanged.
    EXPECT_TRUE(CGAffineTransformEqualToTransform(CGAffineTransformInvert(CGAffineTransformMakeScale(0, 1)),
                                                  CGAffineTransformMakeScale(0, 1)));
}

TEST(Geometry, ContextTransformMatchesTheValueHelpers) {
    objc::AutoreleasePool pool;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(nullptr, 4, 4, 8, 0, space, kCGImageAlphaPremultipliedLast);
    CGContextScaleCTM(c, 2, 2);
    CGContextTranslateCTM(c, 0, 36);
    CGContextScaleCTM(c, 1, -1);
    const CGAffineTransform expected =
        CGAffineTransformScale(CGAffineTransformTranslate(CGAffineTransformMakeScale(2, 2), 0, 36), 1, -1);
    EXPECT_TRUE(CGAffineTransformEqualToTransform(CGContextGetCTM(c), expected));
    const CGPoint d = CGContextConvertPointToDeviceSpace(c, CGPointMake(10, 15));
    EXPECT_EQ(d.x, 20);
    EXPECT_EQ(d.y, 42);
    CGContextRelease(c);
    CGColorSpaceRelease(space);
}

TEST(Geometry, EncodingsNameTheStructs) {
    EXPECT_STREQ(objc::Encoding<CGRect>::value, "{CGRect={CGPoint=dd}{CGSize=dd}}");
    EXPECT_STREQ(objc::Encoding<CGPoint>::value, "{CGPoint=dd}");
    EXPECT_STREQ(objc::Encoding<CGSize>::value, "{CGSize=dd}");
}

}  // namespace
