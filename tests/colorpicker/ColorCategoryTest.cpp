// The UIColor category: hex text in both directions, the component readers
// and the HSB adjustments.
#include "ColorPickerTestSupport.h"

#include "UIColor+PFColor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ColorCategory : public colorpicker_test::KitTest {};

struct Bytes {
    int red, green, blue;
};

void expectBytes(UI::Color* color, Bytes expected) {
    EXPECT_EQ(testcolors::componentsOf(color),
              testcolors::hex(std::uint32_t(expected.red << 16 | expected.green << 8 | expected.blue)));
}

struct HexCase {
    const char* text;
    Bytes bytes;
};

TEST_F(ColorCategory, ReadsHexTextFromTheSecondCharacter) {
    const HexCase cases[] = {
        {"#FF8000", {255, 128, 0}},
        {"#FF8000:0.500000", {255, 128, 0}},  // the alpha part ends the number
        {"#ff8000", {255, 128, 0}},
        {"#abc", {0, 10, 188}},                // short forms are not expanded
        {"FF8000", {15, 128, 0}},              // the first digit is taken for the "#"
        {"?00FF00", {0, 255, 0}},              // the first character is never compared
        {"#12345678", {0x34, 0x56, 0x78}},     // the top byte is dropped
        {"# \n0x1A2B3C", {0x1A, 0x2B, 0x3C}},  // white space and a 0x prefix
        {"#FFFFFFFFFFFF", {255, 255, 255}},    // too large for 32 bits: all ones
        {"#", {0, 0, 0}},
        {"#zz", {0, 0, 0}},
        {"", {0, 0, 0}},
    };
    for (const HexCase& c : cases) {
        SCOPED_TRACE(c.text);
        expectBytes(PFColor::colorWithHex(NS::String::stringWithUTF8String(c.text)), c.bytes);
    }
    SCOPED_TRACE("nil");
    expectBytes(PFColor::colorWithHex(nullptr), {0, 0, 0});
}

TEST_F(ColorCategory, WritesHexTextByTruncation) {
    struct Case {
        CGFloat r, g, b;
        const char* hex;
    };
    const Case cases[] = {
        {1, 128 / 255.0, 0, "#FF8000"}, {0.5, 0.999, 0, "#7FFE00"},  // cut toward zero, not rounded
        {0, 0, 0, "#000000"},           {1, 1, 1, "#FFFFFF"},
        {1.2, 0, 0, "#1320000"},  // not limited: three digits in place of two
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        NS::String* hex = PFColor::hexFromColor(UI::Color::colorWithRed(c.r, c.g, c.b, 0.3));
        EXPECT_STREQ(hex->UTF8String(), c.hex);
    }
    // Colours made from hue, saturation and brightness are RGB colours too.
    EXPECT_STREQ(PFColor::hexFromColor(UI::Color::colorWithHue(0.5, 1, 1, 1))->UTF8String(), "#00FFFF");
}

TEST_F(ColorCategory, EveryByteRoundTripsThroughHexText) {
    for (unsigned k = 0; k < 256; ++k) {
        for (unsigned channel = 0; channel < 3; ++channel) {
            char text[8];
            std::snprintf(text, sizeof text, "#%06X", k << (8 * (2 - channel)));
            NS::String* back = PFColor::hexFromColor(PFColor::colorWithHex(NS::String::stringWithUTF8String(text)));
            ASSERT_STREQ(back->UTF8String(), text) << "byte " << k << " channel " << channel;
        }
        // The same arithmetic in the 32-bit build's single precision.
        ASSERT_EQ(colorpicker::byteFromComponent(colorpicker::componentFromByte<float>(k)), static_cast<int>(k));
        ASSERT_EQ(colorpicker::byteFromComponent(colorpicker::componentFromByte<double>(k)), static_cast<int>(k));
    }
}

struct Hsba {
    CGFloat h, s, b, a;
};

Hsba hsbaOf(UI::Color* color) {
    Hsba v{-1, -1, -1, -1};
    color->getHue(&v.h, &v.s, &v.b, &v.a);
    return v;
}

TEST_F(ColorCategory, AdjustmentsScaleSaturationAndBrightness) {
    PFColor* base = PFColor::of(UI::Color::colorWithHue(0.25, 0.5, 0.8, 0.6));
    struct Case {
        const char* name;
        UI::Color* result;
        Hsba expected;
    };
    const Case cases[] = {
        {"desaturate 0", base->desaturate(0), {0.25, 0.5, 0.8, 0.6}},
        {"lighten 0", base->lighten(0), {0.25, 0.5, 0.8, 0.6}},
        {"darken 0", base->darken(0), {0.25, 0.5, 0.8, 0.6}},
        {"desaturate 100", base->desaturate(100), {0, 0, 0.8, 0.6}},  // a grey: no hue left
        {"darken 100", base->darken(100), {0, 0, 0, 0.6}},            // black
        {"lighten 50", base->lighten(50), {0.25, 0.25, 1, 0.6}},      // 1.2 limited to 1
        {"darken 20", base->darken(20), {0.25, 0.6, 0.64, 0.6}},
        {"darken -50", base->darken(-50), {0.25, 0.25, 1, 0.6}},  // the opposite: lighten 50
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Hsba v = hsbaOf(c.result);
        EXPECT_NEAR(v.h, c.expected.h, 1e-9);
        EXPECT_NEAR(v.s, c.expected.s, 1e-9);
        EXPECT_NEAR(v.b, c.expected.b, 1e-9);
        EXPECT_NEAR(v.a, c.expected.a, 1e-9);
    }
    EXPECT_TRUE(base->desaturate(0)->isEqual(base));
    // The single-component readers, each its own component.
    EXPECT_NEAR(base->hue(), 0.25, 1e-9);
    EXPECT_NEAR(base->saturation(), 0.5, 1e-9);
    EXPECT_NEAR(base->brightness(), 0.8, 1e-9);
    EXPECT_NEAR(base->alpha(), 0.6, 1e-9);
    PFColor* rgb = PFColor::of(UI::Color::colorWithRed(0.1, 0.2, 0.3, 0.4));
    EXPECT_NEAR(rgb->red(), 0.1, 1e-9);
    EXPECT_NEAR(rgb->green(), 0.2, 1e-9);
    EXPECT_NEAR(rgb->blue(), 0.3, 1e-9);
    EXPECT_NEAR(rgb->alpha(), 0.4, 1e-9);
}

}  // namespace
