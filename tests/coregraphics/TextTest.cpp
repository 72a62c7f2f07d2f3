#include "Pixels.h"

#include <cmath>
#include <fstream>
#include <string>

namespace {

using cgtest::alphaOf;
using cgtest::pixel;

class TextTest : public cgtest::ContextTest {
protected:
    // An image context of 31 × 36 points at scale 2, as a view's image
    // context is made.
    CGContextRef thumbContext() {
        CGContextRef c = context(62, 72);
        CGContextScaleCTM(c, 2, 2);
        CGCairoContextSetBaseCTM(c, CGContextGetCTM(c));
        return c;
    }

    // The slider thumb: a white disc with a soft shadow and a black letter,
    // drawn in flipped coordinates.
    void drawThumb(CGContextRef c, char letter) {
        CGColorRef shadow = CGColorCreateGenericGray(0, 0.25);
        CGContextSetShadowWithColor(c, CGSizeMake(0, 3), 4, shadow);
        CGColorRelease(shadow);
        CGColorRef white = CGColorCreateGenericRGB(1, 1, 1, 1);
        CGContextSetFillColorWithColor(c, white);
        CGColorRelease(white);
        CGContextAddArc(c, 15.5, 15.5, 14, 0, 2 * M_PI, 1);
        CGContextDrawPath(c, kCGPathFill);
        CGContextSetShadow(c, CGSizeMake(0, 0), 0);
        CGContextTranslateCTM(c, 0, 36);
        CGContextScaleCTM(c, 1, -1);
        CGContextSetRGBFillColor(c, 0, 0, 0, 1);
        CGContextSelectFont(c, "Helvetica Neue Bold", 15, kCGEncodingMacRoman);
        CGContextSetCharacterSpacing(c, 1.7);
        CGContextSetTextDrawingMode(c, kCGTextFill);
        CGContextShowTextAtPoint(c, 10, 15, &letter, 1);
    }

    static bool dark(uint32_t p) { return alphaOf(p) > 200 && cgtest::redOf(p) < 80; }

    // Dark pixels per row of a native context.
    static std::vector<int> darkPerRow(CGContextRef c) {
        std::vector<int> rows(CGBitmapContextGetHeight(c), 0);
        for (size_t y = 0; y < rows.size(); ++y)
            for (size_t x = 0; x < CGBitmapContextGetWidth(c); ++x) rows[y] += dark(pixel(c, x, y));
        return rows;
    }

    static void savePNG(CGContextRef c, const std::string& name) {
        CGImageRef image = CGBitmapContextCreateImage(c);
        const std::vector<unsigned char> png = CGCairoImageCopyPNGData(image);
        std::ofstream(std::string(HB_BINARY_DIR) + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        CGImageRelease(image);
    }
};

TEST_F(TextTest, ThumbLetterIsUprightAndInsideTheDisc) {
    CGContextRef c = thumbContext();
    drawThumb(c, 'L');
    savePNG(c, "coregraphics_thumb_L.png");

    // The baseline at y = 15 in flipped points is 36 − 15 = 21 points from the
    // top: 42 pixels. Glyph ink lies above it, none below it.
    const std::vector<int> rows = darkPerRow(c);
    int top = -1, bottom = -1;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        if (rows[y] > 0) {
            if (top < 0) top = y;
            bottom = y;
        }
    }
    ASSERT_GE(top, 0) << "no letter drawn";
    EXPECT_LE(bottom, 42);
    EXPECT_GE(bottom, 40);
    EXPECT_GT(top, 16);  // a cap height of about 11 points above the baseline
    // "L" is upright when its foot, the widest row, is at the bottom.
    EXPECT_GT(rows[bottom - 1], 3 * rows[top + 2]);

    // The letter starts at x = 10 points and stays inside the disc.
    for (size_t y = 0; y < 72; ++y) {
        for (size_t x = 0; x < 62; ++x) {
            if (!dark(pixel(c, x, y))) continue;
            EXPECT_GE(x, 19u);
            EXPECT_LT(std::hypot(x / 2.0 - 15.5, y / 2.0 - 15.5), 14.0);
        }
    }
}

TEST_F(TextTest, ThumbDiscIsWhiteWithTheShadowBelow) {
    CGContextRef c = thumbContext();
    drawThumb(c, 'H');
    savePNG(c, "coregraphics_thumb_H.png");
    // Centre of the disc clear of the letter, and just inside its edges.
    EXPECT_EQ(pixel(c, 31, 8), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(c, 6, 31), 0xFFFFFFFFu);
    // Outside the disc: shadowed below (offset 3 points down), clear above.
    const uint32_t below = pixel(c, 31, 62), above = pixel(c, 31, 1);
    EXPECT_GT(alphaOf(below), 10u);
    EXPECT_EQ(cgtest::redOf(below), 0u);
    EXPECT_LT(alphaOf(above), 4u);  // only the far tail of the blur
    EXPECT_LT(alphaOf(pixel(c, 31, 71)), alphaOf(below));
}

TEST_F(TextTest, UnflippedTextIsUpsideDown) {
    // Without the flip, text space rises towards smaller y on screen: the
    // glyph hangs below the baseline.
    CGContextRef c = context(40, 40);
    CGContextSelectFont(c, "Helvetica", 20, kCGEncodingMacRoman);
    CGContextShowTextAtPoint(c, 5, 10, "L", 1);
    const std::vector<int> rows = darkPerRow(c);
    for (int y = 0; y < 9; ++y) EXPECT_EQ(rows[y], 0) << y;
    int widest = 0, widestRow = 0, lastInk = 0;
    for (int y = 0; y < 40; ++y) {
        if (rows[y] > widest) widest = rows[y], widestRow = y;
        if (rows[y]) lastInk = y;
    }
    EXPECT_GT(lastInk, 20);
    EXPECT_LT(widestRow, 13);  // the foot is now at the top
}

TEST_F(TextTest, ShowTextAdvancesTheTextPositionWithSpacing) {
    CGContextRef c = context(100, 30);
    CGContextSelectFont(c, "Helvetica", 10, kCGEncodingMacRoman);
    CGContextShowTextAtPoint(c, 5, 20, "ii", 2);
    const CGFloat plain = CGContextGetTextPosition(c).x - 5;
    EXPECT_GT(plain, 2);
    CGContextSetCharacterSpacing(c, 3);
    CGContextShowTextAtPoint(c, 5, 20, "ii", 2);
    EXPECT_NEAR(CGContextGetTextPosition(c).x - 5, plain + 6, 1e-9);
    EXPECT_EQ(CGContextGetTextPosition(c).y, 20);
}

TEST_F(TextTest, InvisibleTextAdvancesButDrawsNothing) {
    CGContextRef c = context(60, 30);
    CGContextSelectFont(c, "Helvetica", 14, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextInvisible);
    CGContextShowTextAtPoint(c, 2, 20, "Hello", 5);
    EXPECT_GT(CGContextGetTextPosition(c).x, 20);
    for (int n : darkPerRow(c)) EXPECT_EQ(n, 0);
}

TEST(FontNames, ResolveToFamilyWeightAndStyle) {
    objc::AutoreleasePool pool;
    struct Case {
        const char* name;
        const char* family;
        int weight;
        bool italic;
        const char* installed;
    };
    const Case cases[] = {
        {"Helvetica Neue", "Helvetica Neue", 400, false, "Liberation Sans"},
        {"Helvetica Neue Bold", "Helvetica Neue", 700, false, "Liberation Sans"},
        {"HelveticaNeue-Medium", "Helvetica Neue", 500, false, "Liberation Sans"},
        {"Helvetica Neue Light", "Helvetica Neue", 300, false, "Liberation Sans"},
        {"HelveticaNeue-BoldItalic", "Helvetica Neue", 700, true, "Liberation Sans"},
        {"Helvetica-Bold", "Helvetica", 700, false, "Liberation Sans"},
        {"HelveticaNeue", "Helvetica Neue", 400, false, "Liberation Sans"},
        {"DejaVu Sans", "DejaVu Sans", 400, false, "DejaVu Sans"},
        {"No Such Family Anywhere", "No Such Family Anywhere", 400, false, "DejaVu Sans"},
    };
    for (const Case& k : cases) {
        const CGCairoFont f = CGCairoFontWithName(k.name, 17);
        EXPECT_EQ(f.family, k.family) << k.name;
        EXPECT_EQ(f.weight, k.weight) << k.name;
        EXPECT_EQ(f.italic, k.italic) << k.name;
        EXPECT_EQ(CGCairoFontResolvedFamily(f), k.installed) << k.name;
    }
}

TEST(FontNames, BoldDrawsWiderThanRegular) {
    objc::AutoreleasePool pool;
    const CGFloat regular = CGCairoTextWidth(CGCairoFontWithName("Helvetica Neue", 17), "Messages");
    const CGFloat bold = CGCairoTextWidth(CGCairoFontWithName("Helvetica Neue Bold", 17), "Messages");
    EXPECT_GT(bold, regular);
    // Liberation Sans keeps Helvetica's widths: about 0.56 em per letter here.
    EXPECT_NEAR(regular / (8 * 17), 0.55, 0.06);
}

}  // namespace
