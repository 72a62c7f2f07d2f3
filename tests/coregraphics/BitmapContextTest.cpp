#include "Pixels.h"

#include <array>
#include <cstring>

namespace {

using cgtest::ContextTest;

class BitmapContextTest : public ContextTest {
protected:
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    ~BitmapContextTest() override { CGColorSpaceRelease(rgb); }
};

TEST_F(BitmapContextTest, OnePixelRGBAHoldsPremultipliedBytesInOrder) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    CGContextRef c = CGBitmapContextCreate(bytes, 1, 1, 8, 4, rgb, kCGImageAlphaPremultipliedLast);
    ASSERT_NE(c, nullptr);
    CGContextSetRGBFillColor(c, 1, 0, 0, 0.5);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    // No flush: the bytes are there as soon as the fill returns.
    EXPECT_EQ(bytes[0], 0x80);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 0x80);
    CGContextRelease(c);
}

TEST_F(BitmapContextTest, EveryLayoutStoresItsBytesInItsOrder) {
    // An opaque colour with distinct components, and a 50% one, in each
    // layout; "x" is a skipped byte (written as 0xFF).
    struct Case {
        const char* name;
        uint32_t info;
        std::array<unsigned char, 4> opaque, half;
    };
    const Case cases[] = {
        {"RGBA", kCGImageAlphaPremultipliedLast, {0x11, 0x22, 0x33, 0xFF}, {0x80, 0, 0, 0x80}},
        {"RGBA big",
         kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big,
         {0x11, 0x22, 0x33, 0xFF},
         {0x80, 0, 0, 0x80}},
        {"ABGR little",
         kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Little,
         {0xFF, 0x33, 0x22, 0x11},
         {0x80, 0, 0, 0x80}},
        {"ARGB", kCGImageAlphaPremultipliedFirst, {0xFF, 0x11, 0x22, 0x33}, {0x80, 0x80, 0, 0}},
        {"BGRA little (cairo's)",
         kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little,
         {0x33, 0x22, 0x11, 0xFF},
         {0, 0, 0x80, 0x80}},
        {"RGBx", kCGImageAlphaNoneSkipLast, {0x11, 0x22, 0x33, 0xFF}, {0xFF, 0x7F, 0x7F, 0xFF}},
        {"BGRx little (cairo's)",
         kCGImageAlphaNoneSkipFirst | kCGBitmapByteOrder32Little,
         {0x33, 0x22, 0x11, 0xFF},
         {0x7F, 0x7F, 0xFF, 0xFF}},
    };
    for (const Case& k : cases) {
        alignas(4) unsigned char bytes[8] = {};
        // Half-alpha red goes over a white start for the skip layouts, which
        // are opaque.
        const bool opaqueLayout = (k.info & kCGBitmapAlphaInfoMask) >= kCGImageAlphaNoneSkipLast;
        CGContextRef c = CGBitmapContextCreate(bytes, 2, 1, 8, 8, rgb, k.info);
        ASSERT_NE(c, nullptr) << k.name;
        if (opaqueLayout) {
            CGContextSetRGBFillColor(c, 1, 1, 1, 1);
            CGContextFillRect(c, CGRectMake(1, 0, 1, 1));
        }
        CGContextSetRGBFillColor(c, 0x11 / 255.0, 0x22 / 255.0, 0x33 / 255.0, 1);
        CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
        CGContextSetRGBFillColor(c, 1, 0, 0, 0.5);
        CGContextFillRect(c, CGRectMake(1, 0, 1, 1));
        EXPECT_EQ((std::array<unsigned char, 4>{bytes[0], bytes[1], bytes[2], bytes[3]}), k.opaque) << k.name;
        EXPECT_EQ((std::array<unsigned char, 4>{bytes[4], bytes[5], bytes[6], bytes[7]}), k.half) << k.name;
        CGContextRelease(c);
    }
}

TEST_F(BitmapContextTest, ConvertedBufferIsReadAtCreationAndWrittenAfterCairoDrawing) {
    // Two RGBA pixels: the first starts opaque green and is left alone, the
    // second is covered by an arc drawn through cairo.
    unsigned char bytes[8] = {0, 0xFF, 0, 0xFF, 0, 0, 0, 0};
    CGContextRef c = CGBitmapContextCreate(bytes, 2, 1, 8, 8, rgb, kCGImageAlphaPremultipliedLast);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextAddArc(c, 1.5, 0.5, 3, 0, 2 * M_PI, 0);
    CGContextClip(c);  // no longer a box clip: what follows goes through cairo
    CGContextFillRect(c, CGRectMake(1, 0, 1, 1));
    EXPECT_EQ(
        (std::array<unsigned char, 8>{bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7]}),
        (std::array<unsigned char, 8>{0, 0xFF, 0, 0xFF, 0, 0, 0xFF, 0xFF}));
    CGImageRef image = CGBitmapContextCreateImage(c);
    EXPECT_EQ(cgtest::imagePixels(image)[0], 0xFF00FF00u);
    CGImageRelease(image);
    CGContextRelease(c);
}

TEST_F(BitmapContextTest, TranslatedOnePixelContextSamplesThePointSquare) {
    // A picture with a distinct colour per point; a 1 × 1 context moved by −p
    // sees exactly the point square whose top-left corner is p.
    CGContextRef field = context(8, 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            CGContextSetRGBFillColor(field, x / 7.0, y / 5.0, 0.5, 1);
            CGContextFillRect(field, CGRectMake(x, y, 1, 1));
        }
    }
    CGImageRef image = CGBitmapContextCreateImage(field);
    for (const CGPoint p : {CGPointMake(0, 0), CGPointMake(7, 5), CGPointMake(3, 2), CGPointMake(5, 1)}) {
        unsigned char bytes[4] = {};
        CGContextRef one = CGBitmapContextCreate(bytes, 1, 1, 8, 4, rgb, kCGImageAlphaPremultipliedLast);
        CGContextTranslateCTM(one, -p.x, -p.y);
        CGCairoContextDrawImageUpright(one, CGRectMake(0, 0, 8, 6), image);
        CGContextRelease(one);
        EXPECT_EQ(bytes[0], static_cast<int>(p.x / 7.0 * 255 + 0.5)) << p.x << "," << p.y;
        EXPECT_EQ(bytes[1], static_cast<int>(p.y / 5.0 * 255 + 0.5)) << p.x << "," << p.y;
        EXPECT_EQ(bytes[2], 0x80);
        EXPECT_EQ(bytes[3], 0xFF);
    }
    CGImageRelease(image);
}

TEST_F(BitmapContextTest, RejectsWhatItCannotDraw) {
    unsigned char bytes[64] = {};
    CGColorSpaceRef gray = CGColorSpaceCreateDeviceGray();
    const struct {
        const char* name;
        void* data;
        size_t w, h, bpc, bpr;
        CGColorSpaceRef space;
        uint32_t info;
    } cases[] = {
        {"zero width", bytes, 0, 1, 8, 4, rgb, kCGImageAlphaPremultipliedLast},
        {"zero height", bytes, 1, 0, 8, 4, rgb, kCGImageAlphaPremultipliedLast},
        {"row too short", bytes, 4, 1, 8, 12, rgb, kCGImageAlphaPremultipliedLast},
        {"16 bits", bytes, 1, 1, 16, 8, rgb, kCGImageAlphaPremultipliedLast},
        {"straight alpha", bytes, 1, 1, 8, 4, rgb, kCGImageAlphaLast},
        {"no colour space", bytes, 1, 1, 8, 4, nullptr, kCGImageAlphaPremultipliedLast},
        {"gray", bytes, 1, 1, 8, 4, gray, kCGImageAlphaNone},
        {"too wide", nullptr, 40000, 1, 8, 0, rgb, kCGImageAlphaPremultipliedLast},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(CGBitmapContextCreate(k.data, k.w, k.h, k.bpc, k.bpr, k.space, k.info), nullptr) << k.name;
    }
    CGColorSpaceRelease(gray);
}

TEST_F(BitmapContextTest, OwnMemoryIsZeroedAndRowsArePadded) {
    CGContextRef c = CGBitmapContextCreate(nullptr, 3, 2, 8, 0, rgb, kCGImageAlphaPremultipliedLast);
    ASSERT_NE(c, nullptr);
    EXPECT_GE(CGBitmapContextGetBytesPerRow(c), 12u);
    const auto* data = static_cast<const unsigned char*>(CGBitmapContextGetData(c));
    for (size_t i = 0; i < 2 * CGBitmapContextGetBytesPerRow(c); ++i) EXPECT_EQ(data[i], 0) << i;
    EXPECT_EQ(CGBitmapContextGetWidth(c), 3u);
    EXPECT_EQ(CGBitmapContextGetHeight(c), 2u);
    CGContextRelease(c);
}

TEST_F(BitmapContextTest, AlphaOnlyContextKeepsCoverage) {
    unsigned char bytes[6] = {};  // rows of 3, not a multiple of 4: converted
    CGContextRef c = CGBitmapContextCreate(bytes, 3, 2, 8, 3, nullptr, kCGImageAlphaOnly);
    ASSERT_NE(c, nullptr);
    CGContextSetRGBFillColor(c, 0.2, 0.9, 0.4, 0.5);
    CGContextFillRect(c, CGRectMake(1, 1, 2, 1));
    EXPECT_EQ((std::array<unsigned char, 6>{bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5]}),
              (std::array<unsigned char, 6>{0, 0, 0, 0, 0x80, 0x80}));
    CGContextRelease(c);
}

}  // namespace
