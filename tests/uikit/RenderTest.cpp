// Compositing: exact pixels of backgrounds, corners, borders, opacity, hidden
// views, clipping, masks and subview order, sampled the way product code
// samples (a 1×1 context moved to the point) and at screen scale.
#include "UIKitTesting.h"

namespace {

using namespace uitest;
using UI::Color;

class RenderTest : public UIKitTest {
protected:
    // A 40 × 40 white view.
    Ref<UI::View> root = makeView(CGRectMake(0, 0, 40, 40), Color::whiteColor());

    Ref<UI::View> addChild(UI::View* parent, CGRect frame, Color* color) {
        Ref<UI::View> child = makeView(frame, color);
        parent->addSubview(child);
        return child;
    }
};

struct Probe {
    CGFloat x, y;
    Pixel expected;
};

void expectPixels(UI::View* view, std::initializer_list<Probe> probes, const char* what) {
    for (const Probe& p : probes) {
        EXPECT_EQ(samplePoint(view, p.x, p.y), p.expected) << what << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST_F(RenderTest, LaterSubviewsCoverEarlierOnesUntilReordered) {
    Ref<UI::View> a = addChild(root, CGRectMake(0, 0, 20, 20), Color::redColor());
    Ref<UI::View> b = addChild(root, CGRectMake(10, 10, 20, 20), Color::blueColor());
    expectPixels(root, {{5, 5, kRed}, {15, 15, kBlue}, {25, 25, kBlue}, {35, 35, kWhite}, {5, 25, kWhite}}, "a then b");
    root->bringSubviewToFront(a);
    expectPixels(root, {{15, 15, kRed}, {25, 25, kBlue}}, "a brought to front");
    root->insertSubview(a, 0);
    expectPixels(root, {{15, 15, kBlue}}, "a back at index 0");
    // Outside every layer nothing is drawn.
    EXPECT_EQ(samplePoint(root, 45, 5), kClear);
    EXPECT_EQ(samplePoint(root, -1, 5), kClear);
}

TEST_F(RenderTest, CornerRadiusRoundsTheBackgroundAndMasksToBoundsClipsContent) {
    root->setBackgroundColor(Color::redColor());
    root->layer()->setCornerRadius(10);
    Ref<UI::View> corner = addChild(root, CGRectMake(0, 0, 6, 6), Color::blueColor());
    // Without masking, the subview in the corner stays square.
    expectPixels(root, {{0, 0, kBlue}, {20, 20, kRed}, {0, 20, kRed}, {39, 39, kClear}, {38, 2, kClear}},
                 "rounded, not masking");
    root->layer()->setMasksToBounds(YES);
    expectPixels(root, {{0, 0, kClear}, {4, 4, kBlue}, {39, 39, kClear}, {20, 20, kRed}}, "masking");
    // A radius larger than half the side makes a circle, not a wider curve.
    root->layer()->setCornerRadius(100);
    expectPixels(root, {{20, 1, kRed}, {1, 20, kRed}, {3, 3, kClear}}, "circle");
}

TEST_F(RenderTest, BordersLieInsideTheBoundsAboveTheSubviews) {
    root->layer()->setBorderWidth(2);
    root->layer()->setBorderColor(Color::blueColor()->CGColor());
    addChild(root, CGRectMake(0, 0, 40, 40), Color::redColor());
    expectPixels(root,
                 {{0, 20, kBlue},
                  {1, 20, kBlue},
                  {2, 20, kRed},
                  {38, 20, kBlue},
                  {20, 39, kBlue},
                  {20, 37, kRed},
                  {40, 20, kClear}},
                 "square border");
    // Rounded: the border follows the curve and the corner stays empty.
    root->layer()->setCornerRadius(10);
    root->layer()->setMasksToBounds(YES);
    expectPixels(root, {{0, 0, kClear}, {0, 20, kBlue}, {20, 1, kBlue}, {20, 20, kRed}}, "rounded border");
    // The default border colour is opaque black.
    Ref<UI::View> plain = makeView(CGRectMake(0, 0, 10, 10), Color::whiteColor());
    plain->layer()->setBorderWidth(1);
    expectPixels(plain, {{0, 5, kBlack}, {5, 5, kWhite}}, "default border");
}

TEST_F(RenderTest, AlphaAppliesToTheViewAndItsSubviewsAsOneGroup) {
    root->setBackgroundColor(nullptr);
    addChild(root, CGRectMake(0, 0, 30, 30), Color::redColor());
    addChild(root, CGRectMake(10, 10, 30, 30), Color::redColor());
    root->setAlpha(0.5);
    const Pixel half{128, 0, 0, 128};
    // The overlap is no darker than either square alone.
    expectPixels(root, {{5, 5, half}, {20, 20, half}, {35, 35, half}, {35, 5, kClear}}, "group opacity");
    root->setAlpha(0);
    expectPixels(root, {{20, 20, kClear}}, "alpha 0");
}

TEST_F(RenderTest, HiddenViewsAndTheirSubviewsAreNotDrawn) {
    Ref<UI::View> parent = addChild(root, CGRectMake(0, 0, 20, 20), Color::redColor());
    Ref<UI::View> child = addChild(parent, CGRectMake(5, 5, 10, 10), Color::blueColor());
    child->setHidden(YES);
    expectPixels(root, {{10, 10, kRed}}, "hidden child");
    child->setHidden(NO);
    parent->setHidden(YES);
    expectPixels(root, {{10, 10, kWhite}, {2, 2, kWhite}}, "hidden parent");
}

TEST_F(RenderTest, ClipsToBoundsCutsSubviewsAtTheEdge) {
    Ref<UI::View> box = addChild(root, CGRectMake(0, 0, 20, 20), Color::greenColor());
    addChild(box, CGRectMake(10, 10, 20, 20), Color::redColor());
    expectPixels(root, {{15, 15, kRed}, {25, 25, kRed}}, "not clipping");
    box->setClipsToBounds(YES);
    expectPixels(root, {{15, 15, kRed}, {25, 25, kWhite}, {5, 5, kGreen}}, "clipping");
}

TEST_F(RenderTest, BoundsOriginScrollsTheContent) {
    Ref<UI::View> box = addChild(root, CGRectMake(0, 0, 20, 20), Color::greenColor());
    addChild(box, CGRectMake(10, 0, 10, 10), Color::redColor());
    box->setBounds(CGRectMake(10, 0, 20, 20));
    expectPixels(root, {{5, 5, kRed}, {15, 5, kGreen}}, "scrolled by 10");
}

TEST_F(RenderTest, AMaskLayerKeepsOnlyWhereItIsOpaque) {
    root->setBackgroundColor(Color::redColor());
    Ref<CA::Layer> mask = objc::adopt(CA::Layer::alloc()->init());
    mask->setFrame(CGRectMake(0, 0, 20, 40));
    mask->setBackgroundColor(Color::blackColor()->CGColor());
    root->layer()->setMask(mask);
    expectPixels(root, {{5, 20, kRed}, {30, 20, kClear}}, "left half");
    mask->setBackgroundColor(Color::colorWithWhite(0, 0.5)->CGColor());
    expectPixels(root, {{5, 20, Pixel{128, 0, 0, 128}}}, "half transparent mask");
}

TEST_F(RenderTest, SamplingThroughTheTransformAgreesWithTheScreenScalePicture) {
    Ref<UI::View> a = addChild(root, CGRectMake(3, 7, 11, 13), Color::colorWithRed(0.2, 0.4, 0.6, 1));
    a->layer()->setCornerRadius(4);
    addChild(a, CGRectMake(2, 2, 3, 3), Color::colorWithRed(1, 0.5, 0, 1));
    Picture picture = pictureOf(root);
    ASSERT_TRUE(picture.valid());
    ASSERT_EQ(picture.width(), 80);
    ASSERT_EQ(picture.height(), 80);
    for (int y = 0; y < 40; y += 3) {
        for (int x = 0; x < 40; x += 3) {
            // Each point is a uniform 2 × 2 block where nothing is curved.
            Pixel p = picture.at(2 * x, 2 * y);
            if (p != picture.at(2 * x + 1, 2 * y + 1)) continue;
            EXPECT_EQ(samplePoint(root, x, y), p) << x << ", " << y;
        }
    }
}

}  // namespace
