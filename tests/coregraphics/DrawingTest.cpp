#include "Pixels.h"

#include <cmath>

namespace {

using cgtest::alphaOf;
using cgtest::blueOf;
using cgtest::greenOf;
using cgtest::pixel;
using cgtest::redOf;

class DrawingTest : public cgtest::ContextTest {};

TEST_F(DrawingTest, PointFillsAtScaleTwoCoverTwoByTwoPixels) {
    CGContextRef c = context(8, 8);
    CGContextScaleCTM(c, 2, 2);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextFillRect(c, CGRectMake(1, 2, 1, 1));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 4 && y < 6;
            EXPECT_EQ(pixel(c, x, y), inside ? 0xFF0000FFu : 0u) << x << "," << y;
        }
    }
}

TEST_F(DrawingTest, ArcsFollowTheirDirection) {
    // A quarter arc from 0 to π/2 closed through the centre: with growing
    // angles (clockwise 0) it covers the quadrant towards +x and +y (bottom
    // right in this orientation); with falling angles it covers the other
    // three quadrants.
    struct Case {
        int clockwise;
        bool bottomRight, topLeft;
    };
    for (const Case k : {Case{0, true, false}, Case{1, false, true}}) {
        CGContextRef c = context(40, 40);
        CGContextMoveToPoint(c, 20, 20);
        CGContextAddArc(c, 20, 20, 15, 0, M_PI / 2, k.clockwise);
        CGContextClosePath(c);
        CGContextFillPath(c);
        EXPECT_EQ(alphaOf(pixel(c, 27, 27)) == 255, k.bottomRight) << k.clockwise;
        EXPECT_EQ(alphaOf(pixel(c, 12, 12)) == 255, k.topLeft) << k.clockwise;
        EXPECT_EQ(alphaOf(pixel(c, 27, 12)) == 255, k.topLeft) << k.clockwise;
    }
}

TEST_F(DrawingTest, WholeTurnArcsAreFullCirclesEitherWay) {
    for (int clockwise : {0, 1}) {
        CGContextRef c = context(40, 40);
        CGContextAddArc(c, 20, 20, 14, 0, 2 * M_PI, clockwise);
        CGContextFillPath(c);
        for (double angle = 0; angle < 2 * M_PI; angle += M_PI / 8) {
            const int x = static_cast<int>(20 + 10 * std::cos(angle)), y = static_cast<int>(20 + 10 * std::sin(angle));
            EXPECT_EQ(pixel(c, x, y), 0xFF000000u) << clockwise << " at " << angle;
        }
        EXPECT_EQ(pixel(c, 20, 3), 0u);
        EXPECT_EQ(pixel(c, 36, 20), 0u);
    }
}

TEST_F(DrawingTest, ArcToPointRoundsTheCorner) {
    CGContextRef c = context(30, 30);
    CGContextMoveToPoint(c, 0, 0);
    CGContextAddArcToPoint(c, 20, 0, 20, 20, 10);
    CGContextAddLineToPoint(c, 20, 20);
    CGContextAddLineToPoint(c, 0, 20);
    CGContextClosePath(c);
    CGContextFillPath(c);
    EXPECT_EQ(pixel(c, 5, 5), 0xFF000000u);
    EXPECT_EQ(pixel(c, 15, 15), 0xFF000000u);
    EXPECT_EQ(pixel(c, 19, 0), 0u);  // the square's corner is cut away
    EXPECT_EQ(pixel(c, 12, 1), 0xFF000000u);
}

TEST_F(DrawingTest, ClipsLimitAndRestoreUndoes) {
    CGContextRef c = context(20, 20);
    CGContextSaveGState(c);
    CGContextClipToRect(c, CGRectMake(5, 5, 10, 10));
    CGContextAddEllipseInRect(c, CGRectMake(5, 5, 10, 10));
    CGContextClip(c);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 20, 20));
    CGContextRestoreGState(c);
    EXPECT_EQ(pixel(c, 10, 10), 0xFFFF0000u);
    EXPECT_EQ(pixel(c, 5, 5), 0u);   // outside the ellipse, inside the rectangle
    EXPECT_EQ(pixel(c, 2, 10), 0u);  // outside both
    CGContextSetRGBFillColor(c, 0, 1, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 3, 3));
    EXPECT_EQ(pixel(c, 1, 1), 0xFF00FF00u);
}

TEST_F(DrawingTest, ContextAlphaAndClearRect) {
    CGContextRef c = context(4, 1);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 1));
    CGContextSetAlpha(c, 0.5);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillEllipseInRect(c, CGRectMake(-4, -4, 6, 9));  // through cairo
    EXPECT_EQ(pixel(c, 0, 0), 0xFF80007Fu);
    CGContextClearRect(c, CGRectMake(3, 0, 1, 1));
    EXPECT_EQ(pixel(c, 3, 0), 0u);
    EXPECT_EQ(pixel(c, 2, 0), 0xFF0000FFu);
}

TEST_F(DrawingTest, StrokeRectStraddlesTheEdge) {
    CGContextRef c = context(12, 12);
    CGContextSetRGBStrokeColor(c, 0, 0, 0, 1);
    CGContextSetLineWidth(c, 2);
    CGContextStrokeRect(c, CGRectMake(3, 3, 6, 6));
    EXPECT_EQ(pixel(c, 2, 6), 0xFF000000u);
    EXPECT_EQ(pixel(c, 3, 6), 0xFF000000u);
    EXPECT_EQ(pixel(c, 4, 6), 0u);
    EXPECT_EQ(pixel(c, 6, 6), 0u);
}

TEST_F(DrawingTest, SingularTransformDrawsNothingUntilRestored) {
    CGContextRef c = context(4, 4);
    CGContextSaveGState(c);
    CGContextScaleCTM(c, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 4));
    CGContextFillEllipseInRect(c, CGRectMake(0, 0, 4, 4));
    EXPECT_EQ(pixel(c, 1, 1), 0u);
    CGContextRestoreGState(c);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    EXPECT_EQ(pixel(c, 0, 0), 0xFF000000u);
}

class ShadowTest : public cgtest::ContextTest {
protected:
    // A 10 × 10 black square at (10, 10) on a 40 × 40 context.
    CGContextRef squareWith(void (*setShadow)(CGContextRef)) {
        CGContextRef c = context(40, 40);
        setShadow(c);
        CGContextSetRGBFillColor(c, 0, 0, 1, 1);
        CGContextFillRect(c, CGRectMake(10, 10, 10, 10));
        return c;
    }
};

TEST_F(ShadowTest, OffsetDarkensBelowAndRightOnly) {
    CGContextRef c = squareWith([](CGContextRef k) { CGContextSetShadow(k, CGSizeMake(4, 6), 0); });
    EXPECT_EQ(pixel(c, 15, 15), 0xFF0000FFu);  // the square itself, over its shadow
    EXPECT_EQ(pixel(c, 22, 22), 0x55000000u);  // default shadow: black at 1/3
    EXPECT_EQ(pixel(c, 12, 8), 0u);            // above: nothing
    EXPECT_EQ(pixel(c, 8, 12), 0u);            // left: nothing
    EXPECT_EQ(pixel(c, 25, 25), 0u);           // past the offset square
}

TEST_F(ShadowTest, BlurSpreadsAndFades) {
    CGColorRef red = CGColorCreateGenericRGB(1, 0, 0, 1);
    CGContextRef c = context(60, 60);
    CGContextSetShadowWithColor(c, CGSizeMake(0, 10), 6, red);
    CGColorRelease(red);
    CGContextFillRect(c, CGRectMake(20, 20, 20, 20));
    const uint32_t inside = pixel(c, 30, 45), edge = pixel(c, 30, 50), far = pixel(c, 30, 55);
    EXPECT_EQ(blueOf(inside), 0u);
    EXPECT_GT(redOf(inside), 200u);
    EXPECT_GT(alphaOf(inside), alphaOf(edge));
    EXPECT_GT(alphaOf(edge), alphaOf(far));
    EXPECT_GT(alphaOf(far), 0u);
    EXPECT_EQ(pixel(c, 30, 10), 0u);
}

TEST_F(ShadowTest, TurnedOffByNullColourOrNoOffsetAndBlur) {
    void (*offs[])(CGContextRef) = {
        [](CGContextRef k) { CGContextSetShadowWithColor(k, CGSizeMake(3, 3), 2, nullptr); },
        [](CGContextRef k) {
            CGContextSetShadow(k, CGSizeMake(3, 3), 2);
            CGContextSetShadow(k, CGSizeMake(0, 0), 0);
        },
    };
    for (auto off : offs) {
        CGContextRef c = squareWith(off);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (x < 10 || x >= 20 || y < 10 || y >= 20) {
                    EXPECT_EQ(pixel(c, x, y), 0u) << x << "," << y;
                }
            }
        }
        // No shadow also means the direct path took the fill.
        EXPECT_EQ(CGCairoContextDirectFillCount(c), 1u);
    }
}

TEST_F(ShadowTest, OffsetIsInBaseSpace) {
    // At scale 2 with the scaled space as base, an offset of 3 is 6 pixels;
    // later flips do not turn it round.
    CGContextRef c = context(40, 40);
    CGContextScaleCTM(c, 2, 2);
    CGCairoContextSetBaseCTM(c, CGContextGetCTM(c));
    CGContextTranslateCTM(c, 0, 20);
    CGContextScaleCTM(c, 1, -1);
    CGContextSetShadow(c, CGSizeMake(0, 3), 0);
    CGContextFillRect(c, CGRectMake(5, 10, 5, 5));  // device rows 10..19
    EXPECT_EQ(alphaOf(pixel(c, 15, 24)), 0x55u);
    EXPECT_EQ(alphaOf(pixel(c, 15, 26)), 0u);
    EXPECT_EQ(alphaOf(pixel(c, 15, 9)), 0u);
}

TEST(Gradients, TopAndBottomRowsTakeTheEndColours) {
    objc::AutoreleasePool pool;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    // Balloon gradients come as lists of 2, 3 or 6 colours, top first.
    const CGFloat two[] = {1, 0, 0, 1, 0, 0, 1, 1};
    const CGFloat three[] = {1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1};
    const CGFloat six[] = {1, 0, 0, 1, 1, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1, 0, 0, 1, 1};
    struct Case {
        const CGFloat* components;
        size_t count;
        uint32_t middle;
    };
    for (const Case k : {Case{two, 2, 0}, Case{three, 3, 0xFF00FF00u}, Case{six, 6, 0}}) {
        CGGradientRef g = CGGradientCreateWithColorComponents(space, k.components, nullptr, k.count);
        CGContextRef c = cgtest::makeContext(4, 101);
        CGContextDrawLinearGradient(c, g, CGPointMake(0, 0), CGPointMake(0, 101), 0);
        EXPECT_GT(redOf(pixel(c, 2, 0)), 250u) << k.count;
        EXPECT_LT(blueOf(pixel(c, 2, 0)), 5u) << k.count;
        EXPECT_GT(blueOf(pixel(c, 2, 100)), 250u) << k.count;
        EXPECT_LT(redOf(pixel(c, 2, 100)), 5u) << k.count;
        EXPECT_EQ(alphaOf(pixel(c, 2, 50)), 255u);
        if (k.middle) {
            EXPECT_GT(greenOf(pixel(c, 2, 50)), 250u);
        }
        CGContextRelease(c);
        CGGradientRelease(g);
    }
    CGColorSpaceRelease(space);
}

TEST(Gradients, ExtendOnlyWhenAsked) {
    objc::AutoreleasePool pool;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    const CGFloat comps[] = {1, 0, 0, 1, 0, 0, 1, 1};
    CGGradientRef g = CGGradientCreateWithColorComponents(space, comps, nullptr, 2);
    struct Case {
        CGGradientDrawingOptions options;
        bool before, after;
    };
    for (const Case k : {Case{0, false, false}, Case{kCGGradientDrawsBeforeStartLocation, true, false},
                         Case{kCGGradientDrawsAfterEndLocation, false, true},
                         Case{kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation, true, true}}) {
        CGContextRef c = cgtest::makeContext(1, 30);
        CGContextDrawLinearGradient(c, g, CGPointMake(0, 10), CGPointMake(0, 20), k.options);
        EXPECT_EQ(pixel(c, 0, 3) == 0xFFFF0000u, k.before) << k.options;
        EXPECT_EQ(pixel(c, 0, 3) == 0u, !k.before) << k.options;
        EXPECT_EQ(pixel(c, 0, 26) == 0xFF0000FFu, k.after) << k.options;
        EXPECT_EQ(pixel(c, 0, 26) == 0u, !k.after) << k.options;
        CGContextRelease(c);
    }
    CGGradientRelease(g);
    CGColorSpaceRelease(space);
}

TEST_F(DrawingTest, DrawImageIsBottomUpAndUprightVariantTopDown) {
    // An image whose top row is red and bottom row blue.
    CGContextRef source = context(2, 2);
    CGContextSetRGBFillColor(source, 1, 0, 0, 1);
    CGContextFillRect(source, CGRectMake(0, 0, 2, 1));
    CGContextSetRGBFillColor(source, 0, 0, 1, 1);
    CGContextFillRect(source, CGRectMake(0, 1, 2, 1));
    CGImageRef image = CGBitmapContextCreateImage(source);
    EXPECT_EQ(CGImageGetWidth(image), 2u);

    CGContextRef flipped = context(4, 4);
    CGContextDrawImage(flipped, CGRectMake(0, 0, 4, 4), image);
    EXPECT_EQ(pixel(flipped, 1, 0), 0xFF0000FFu);
    EXPECT_EQ(pixel(flipped, 1, 3), 0xFFFF0000u);

    CGContextRef upright = context(4, 4);
    CGContextSetInterpolationQuality(upright, kCGInterpolationNone);
    CGCairoContextDrawImageUpright(upright, CGRectMake(0, 0, 4, 4), image);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixel(upright, x, 1), 0xFFFF0000u);
        EXPECT_EQ(pixel(upright, x, 2), 0xFF0000FFu);
    }
    CGImageRelease(image);
}

TEST_F(DrawingTest, TransparencyLayerAppliesAlphaOnceToOverlaps) {
    CGContextRef c = context(10, 1);
    CGContextSetAlpha(c, 0.5);
    CGContextBeginTransparencyLayer(c, nullptr);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 6, 1));
    CGContextFillRect(c, CGRectMake(4, 0, 6, 1));
    CGContextEndTransparencyLayer(c);
    EXPECT_EQ(pixel(c, 1, 0), 0x80800000u);
    EXPECT_EQ(pixel(c, 5, 0), 0x80800000u);  // not darker where the fills overlap
}

TEST(PNG, RoundTripKeepsPixels) {
    objc::AutoreleasePool pool;
    CGContextRef c = cgtest::makeContext(5, 3);
    CGContextSetRGBFillColor(c, 0.2, 0.4, 0.6, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 5, 3));
    CGContextSetRGBFillColor(c, 1, 0, 0, 0.5);
    CGContextFillRect(c, CGRectMake(4, 2, 1, 1));
    CGContextClearRect(c, CGRectMake(0, 0, 1, 1));
    CGImageRef image = CGBitmapContextCreateImage(c);
    const std::vector<unsigned char> png = CGCairoImageCopyPNGData(image);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    CGImageRef back = CGCairoImageCreateWithPNGData(png.data(), png.size());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(CGImageGetWidth(back), 5u);
    EXPECT_EQ(CGImageGetHeight(back), 3u);
    EXPECT_EQ(cgtest::imagePixels(back), cgtest::imagePixels(image));
    CGImageRelease(back);
    CGImageRelease(image);
    CGContextRelease(c);
}

TEST(PNG, BadBytesGiveNoImage) {
    objc::AutoreleasePool pool;
    const unsigned char junk[] = {0x89, 'P', 'N', 'G', 0, 1, 2, 3, 4, 5};
    EXPECT_EQ(CGCairoImageCreateWithPNGData(junk, sizeof junk), nullptr);
    EXPECT_EQ(CGCairoImageCreateWithPNGData(junk, 0), nullptr);
    EXPECT_EQ(CGCairoImageCreateWithPNGFile("/nonexistent/picture.png"), nullptr);
}

TEST(Colors, ComponentsAndEquality) {
    objc::AutoreleasePool pool;
    CGColorRef red = CGColorCreateGenericRGB(1, 0, 0, 0.5);
    CGColorRef same = CGColorCreateCopy(red);
    CGColorRef gray = CGColorCreateGenericGray(0.5, 1);
    ASSERT_EQ(CGColorGetNumberOfComponents(red), 4u);
    EXPECT_EQ(CGColorGetComponents(red)[0], 1);
    EXPECT_EQ(CGColorGetAlpha(red), 0.5);
    EXPECT_EQ(CGColorGetNumberOfComponents(gray), 2u);
    EXPECT_TRUE(CGColorEqualToColor(red, same));
    EXPECT_FALSE(CGColorEqualToColor(red, gray));
    CGColorRef opaque = CGColorCreateCopyWithAlpha(red, 1);
    EXPECT_FALSE(CGColorEqualToColor(red, opaque));
    EXPECT_EQ(CGColorGetAlpha(opaque), 1);
    for (CGColorRef k : {red, same, gray, opaque}) CGColorRelease(k);
}

}  // namespace
