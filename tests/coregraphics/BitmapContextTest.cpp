#include "Pixels.h"

#include <array>
#include <cstring>

namespace {

using cgtest::ContextTest;

class BitmapContextTest : public ContextTest {};

TEST_F(BitmapContextTest, OnePixelRGBAHoldsPremultipliedBytesInOrder) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(bytes, 1, 1, 8, 4, space, kCGImageAlphaPremultipliedLast);
    ASSERT_NE(c, nullptr);
    CGContextSetRGBFillColor(c, 1, 0, 0, 0.5);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    EXPECT_EQ(bytes[0], 0x80);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 0x80);
    CGContextRelease(c);
    CGColorSpaceRelease(space);
}

}  // namespace
