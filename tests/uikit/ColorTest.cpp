#include "UIKitTesting.h"

#include <cmath>
#include <limits>

namespace {

using UI::Color;
using uitest::UIKitTest;

using testcolors::componentsOf;
using testcolors::RGBA;

class ColorTest : public UIKitTest {};

TEST_F(ColorTest, HueSaturationBrightnessConstructorLimitsEveryComponentToTheUnitRange) {
    const CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN();
    struct Case {
        CGFloat h, s, b, a;
        RGBA expected;
    } cases[] = {
        {0, 2, 2, 1, {1, 0, 0, 1}},         // saturation and brightness above 1 count as 1
        {0, 1, 1, 7, {1, 0, 0, 1}},         // so does alpha
        {-0.5, 1, 1, 1, {1, 0, 0, 1}},      // a negative hue is red
        {1.5, 1, 1, 1, {1, 0, 0, 1}},       // a hue above 1 is a full turn: red
        {1.0 / 3, -1, 1, 1, {1, 1, 1, 1}},  // no saturation: a grey of the brightness
        {1.0 / 3, 1, -3, 1, {0, 0, 0, 1}},  // no brightness: black
        {nan, 1, 1, 1, {1, 0, 0, 1}},       // NaN counts as 0
        {0.5, nan, 1, 1, {1, 1, 1, 1}},    {0.5, 1, nan, 1, {0, 0, 0, 1}},
        {0.5, 1, 1, nan, {0, 1, 1, 0}},    {0.5, 0.5, 1, 1, {0.5, 1, 1, 1}},  // the picker's pale cyan
        {2.0 / 3, 1, 1, -1, {0, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        const RGBA got = componentsOf(Color::colorWithHue(c.h, c.s, c.b, c.a));
        EXPECT_PRED3(testcolors::near, got, c.expected, 1e-12) << c.h << " " << c.s << " " << c.b << " " << c.a;
        EXPECT_EQ(got.a, c.expected.a) << c.h << " " << c.s << " " << c.b << " " << c.a;
    }
}

TEST_F(ColorTest, RedGreenBlueConstructorKeepsComponentsAsGiven) {
    // Out-of-range components are passed on: hex formatting relies on seeing them.
    EXPECT_EQ(componentsOf(Color::colorWithRed(1.2, -0.1, 0.5, 0.25)), (RGBA{1.2, -0.1, 0.5, 0.25}));
    // Sent to a subclass, the constructor makes an object of the subclass.
    static Class subclass = objc::ClassBuilder("TestColorSubclass", "UIColor"_cls).build();
    auto* made = objc::send<Color*>(subclass, "colorWithRed:green:blue:alpha:"_sel, CGFloat(0.5), CGFloat(0.25),
                                    CGFloat(1), CGFloat(1));
    EXPECT_TRUE(made->isKindOfClass(subclass));
    EXPECT_EQ(componentsOf(made), (RGBA{0.5, 0.25, 1, 1}));
}

TEST_F(ColorTest, NamedColoursHaveThePlatformComponents) {
    struct Case {
        const char* name;
        Color* color;
        RGBA rgba;
    } cases[] = {
        {"red", Color::redColor(), {1, 0, 0, 1}},
        {"orange", Color::orangeColor(), {1, 0.5, 0, 1}},
        {"yellow", Color::yellowColor(), {1, 1, 0, 1}},
        {"green", Color::greenColor(), {0, 1, 0, 1}},
        {"blue", Color::blueColor(), {0, 0, 1, 1}},
        {"purple", Color::purpleColor(), {0.5, 0, 0.5, 1}},
        {"cyan", Color::cyanColor(), {0, 1, 1, 1}},
        {"magenta", Color::magentaColor(), {1, 0, 1, 1}},
        {"brown", Color::brownColor(), {0.6, 0.4, 0.2, 1}},
        {"black", Color::blackColor(), {0, 0, 0, 1}},
        {"white", Color::whiteColor(), {1, 1, 1, 1}},
        {"gray", Color::grayColor(), {0.5, 0.5, 0.5, 1}},
        {"lightGray", Color::lightGrayColor(), {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}},
        {"darkGray", Color::darkGrayColor(), {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}},
        {"clear", Color::clearColor(), {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(componentsOf(c.color), c.rgba) << c.name;
        // Every colour's CGColor is RGB with four components, the same values.
        CGColorRef cg = c.color->CGColor();
        ASSERT_EQ(CGColorGetNumberOfComponents(cg), 4u) << c.name;
        const CGFloat* comps = CGColorGetComponents(cg);
        EXPECT_EQ(comps[0], c.rgba.r) << c.name;
        EXPECT_EQ(comps[2], c.rgba.b) << c.name;
        EXPECT_EQ(comps[3], c.rgba.a) << c.name;
    }
}

TEST_F(ColorTest, HueSaturationBrightnessRoundTripsOverTheWholeRange) {
    for (int hi = 0; hi < 24; ++hi) {
        for (int si = 1; si <= 8; ++si) {
            for (int bi = 1; bi <= 8; ++bi) {
                CGFloat h = hi / 24.0, s = si / 8.0, b = bi / 8.0;
                CGFloat h2, s2, b2, a2;
                ASSERT_TRUE(Color::colorWithHue(h, s, b, 0.75)->getHue(&h2, &s2, &b2, &a2));
                ASSERT_NEAR(h2, h, 1e-12) << h << " " << s << " " << b;
                ASSERT_NEAR(s2, s, 1e-12) << h << " " << s << " " << b;
                ASSERT_NEAR(b2, b, 1e-12) << h << " " << s << " " << b;
                ASSERT_EQ(a2, 0.75);
            }
        }
    }
}

TEST_F(ColorTest, EveryConversionAnswersForGreysAndRgbColoursWithTheExactAlpha) {
    CGFloat r, g, b, a, h, s, br, w, wa;
    Color* grey = Color::colorWithWhite(0.25, 0.5);
    EXPECT_TRUE(grey->getRed(&r, &g, &b, &a));
    EXPECT_EQ(r, 0.25);
    EXPECT_EQ(g, 0.25);
    EXPECT_EQ(b, 0.25);
    EXPECT_EQ(a, 0.5);
    EXPECT_TRUE(grey->getHue(&h, &s, &br, &a));
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(br, 0.25);

    Color* orange = Color::colorWithRed(1, 0.5, 0, 0.3);
    EXPECT_TRUE(orange->getWhite(&w, &wa));
    EXPECT_NEAR(w, 0.299 + 0.587 * 0.5, 1e-12);
    EXPECT_EQ(wa, 0.3);
    // Null out-pointers are skipped: asking for the alpha alone works.
    EXPECT_TRUE(orange->getWhite(nullptr, &wa));
    EXPECT_EQ(wa, 0.3);
    EXPECT_TRUE(Color::colorWithWhite(0.8, 1)->getWhite(&w, nullptr));
    EXPECT_EQ(w, 0.8);
}

TEST_F(ColorTest, AlphaComponentCopyKeepsTheColourAndEqualityComparesValues) {
    Color* half = Color::redColor()->colorWithAlphaComponent(0.5);
    EXPECT_EQ(componentsOf(half), (RGBA{1, 0, 0, 0.5}));
    EXPECT_TRUE(half->isEqual(Color::colorWithRed(1, 0, 0, 0.5)));
    EXPECT_FALSE(half->isEqual(Color::redColor()));
    EXPECT_TRUE(Color::whiteColor()->isEqual(Color::colorWithRed(1, 1, 1, 1)));
    EXPECT_EQ(Color::whiteColor()->hash(), Color::colorWithRed(1, 1, 1, 1)->hash());
    EXPECT_FALSE(Color::whiteColor()->isEqual(nullptr));
    EXPECT_FALSE(Color::whiteColor()->isEqual(objc::cast<NS::Object>(UI::Screen::mainScreen())));
}

TEST_F(ColorTest, SetFillMakesTheColourTheCurrentFill) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(2, 2), NO, 1);
    Color::colorWithRed(0, 0, 1, 1)->setFill();
    CGContextFillRect(UIGraphicsGetCurrentContext(), CGRectMake(0, 0, 2, 2));
    UI::Image* image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    uitest::Picture picture(CGImageRetain(image->CGImage()));
    EXPECT_EQ(picture.at(1, 1), uitest::kBlue);
    // Without a current context nothing happens (and nothing breaks).
    Color::redColor()->setFill();
    Color::redColor()->setStroke();
}

}  // namespace
