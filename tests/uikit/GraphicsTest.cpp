#include "UIKitTesting.h"

#include <Foundation/AtomicFile.h>
#include <Foundation/NSData.h>
#include <Foundation/NSString.h>

#include <filesystem>

namespace {

using namespace uitest;

class GraphicsTest : public UIKitTest {};

TEST_F(GraphicsTest, ImageContextsAndPushedContextsShareOneStack) {
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 10), NO, 0);
    CGContextRef outer = UIGraphicsGetCurrentContext();
    ASSERT_NE(outer, nullptr);
    // Scale 0 is the screen's scale.
    EXPECT_EQ(CGBitmapContextGetWidth(outer), 20u);

    UIGraphicsBeginImageContextWithOptions(CGSizeMake(3, 4), NO, 1);
    CGContextRef inner = UIGraphicsGetCurrentContext();
    EXPECT_NE(inner, outer);
    EXPECT_EQ(CGBitmapContextGetHeight(inner), 4u);

    UIGraphicsPushContext(outer);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    // The pushed context is not an image context.
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nullptr);
    UIGraphicsPopContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), inner);

    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    UI::Image* image = UIGraphicsGetImageFromCurrentImageContext();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->scale(), 2);
    EXPECT_TRUE(CGSizeEqualToSize(image->size(), CGSizeMake(10, 10)));
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    // An end without a begin changes nothing.
    UIGraphicsEndImageContext();
}

TEST_F(GraphicsTest, AnImageContextWithoutPixelsHasNoContextButStaysBalanced) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(0, 10), NO, 2);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nullptr);
    UIGraphicsEndImageContext();
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(1, 1), NO, 1);
    EXPECT_NE(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsEndImageContext();
}

// Top half red, bottom half blue, 4 × 4 points at scale 2.
UI::Image* twoBandImage() {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(4, 4), NO, 2);
    UI::Color::redColor()->setFill();
    UIRectFill(CGRectMake(0, 0, 4, 2));
    UI::Color::blueColor()->setFill();
    UIRectFill(CGRectMake(0, 2, 4, 2));
    UI::Image* image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

TEST_F(GraphicsTest, ImagesDrawUprightAndScaledIntoTheirRectangle) {
    UI::Image* image = twoBandImage();
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(20, 10), NO, 1);
    image->drawInRect(CGRectMake(10, 0, 10, 10));
    image->drawAtPoint(CGPointMake(0, 6));  // 4 × 4 points at (0, 6)
    Picture p(CGImageRetain(UIGraphicsGetImageFromCurrentImageContext()->CGImage()));
    UIGraphicsEndImageContext();
    EXPECT_EQ(p.at(15, 1), kRed);
    EXPECT_EQ(p.at(15, 8), kBlue);
    EXPECT_EQ(p.at(1, 6), kRed);
    EXPECT_EQ(p.at(1, 9), kBlue);
    EXPECT_EQ(p.at(1, 2), kClear);
    EXPECT_EQ(p.at(5, 8), kClear);
}

TEST_F(GraphicsTest, RectFillReplacesAndRectFrameOutlinesInside) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 10), NO, 1);
    UI::Color::redColor()->setFill();
    UIRectFill(CGRectMake(0, 0, 10, 10));
    // A translucent fill replaces what is there rather than blending.
    UI::Color::colorWithRed(0, 0, 1, 0.5)->setFill();
    UIRectFill(CGRectMake(0, 0, 5, 10));
    UI::Color::greenColor()->setFill();
    UIRectFrame(CGRectMake(5, 0, 5, 5));
    Picture p(CGImageRetain(UIGraphicsGetImageFromCurrentImageContext()->CGImage()));
    UIGraphicsEndImageContext();
    EXPECT_EQ(p.at(2, 5), (Pixel{0, 0, 128, 128}));
    EXPECT_EQ(p.at(5, 0), kGreen);
    EXPECT_EQ(p.at(9, 4), kGreen);
    EXPECT_EQ(p.at(5, 2), kGreen);
    EXPECT_EQ(p.at(7, 2), kRed);  // inside the frame
    EXPECT_EQ(p.at(7, 5), kRed);  // below it
}

TEST_F(GraphicsTest, PngRepresentationRoundTripsThroughAFileAtScaleOne) {
    UI::Image* image = twoBandImage();
    NS::Data* png = UIImagePNGRepresentation(image);
    ASSERT_NE(png, nullptr);
    EXPECT_GT(png->length(), 8u);
    EXPECT_EQ(std::memcmp(png->bytes(), "\x89PNG", 4), 0);

    std::string host = device / "/tmp/bands.png";
    ASSERT_TRUE(NS::writeHostFileAtomically(host, png->bytes(), png->length()));
    UI::Image* loaded = UI::Image::imageWithContentsOfFile("/tmp/bands.png"_ns);
    ASSERT_NE(loaded, nullptr);
    // Read at scale 1: its size is its size in pixels.
    EXPECT_EQ(loaded->scale(), 1);
    EXPECT_TRUE(CGSizeEqualToSize(loaded->size(), CGSizeMake(8, 8)));
    Picture p(CGImageRetain(loaded->CGImage()));
    EXPECT_EQ(p.at(0, 0), kRed);
    EXPECT_EQ(p.at(7, 3), kRed);
    EXPECT_EQ(p.at(7, 4), kBlue);

    UI::Image* fromData = UI::Image::imageWithData(png);
    ASSERT_NE(fromData, nullptr);
    EXPECT_TRUE(CGSizeEqualToSize(fromData->size(), CGSizeMake(8, 8)));
}

TEST_F(GraphicsTest, MissingOrBrokenImageFilesGiveNil) {
    EXPECT_EQ(UI::Image::imageWithContentsOfFile("/tmp/none.png"_ns), nullptr);
    std::string host = device / "/tmp/broken.png";
    ASSERT_TRUE(NS::writeHostFileAtomically(host, "\x89PNG garbage", 12));
    EXPECT_EQ(UI::Image::imageWithContentsOfFile("/tmp/broken.png"_ns), nullptr);
    EXPECT_EQ(UI::Image::imageWithContentsOfFile("/../etc/passwd"_ns), nullptr);
    EXPECT_EQ(UI::Image::imageWithContentsOfFile(nullptr), nullptr);
    EXPECT_EQ(UIImagePNGRepresentation(nullptr), nullptr);
}

}  // namespace
