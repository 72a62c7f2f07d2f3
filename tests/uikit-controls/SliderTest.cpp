// The slider: its range, how a finger moves it, when it reports, and how it
// is drawn.
#include "ControlsTesting.h"

#include <UIKit/UISlider.h>

namespace {

using namespace ctltest;
using Strings = std::vector<std::string>;

class SliderTest : public ControlsTest {
protected:
    // A slider 280 wide at (20, 100) in a shown window, range 0..1, with a
    // recorder on value-changed.
    Ref<UI::Slider> makeSlider(BOOL continuous) {
        Ref<UI::Slider> slider = objc::adopt(UI::Slider::alloc()->initWithFrame(CGRectMake(20, 100, 280, 20)));
        slider->setContinuous(continuous);
        showWindow()->addSubview(slider);
        target_ = makeRecorder();
        slider->addTarget(target_, "valueChanged:"_sel, UI::UIControlEventValueChanged);
        return slider;
    }
    Ref<NS::Object> target_;
};

struct ClampCase {
    float minimum, maximum, value, expected;
};

TEST_F(SliderTest, ValuesAreClampedToTheRange) {
    const ClampCase cases[] = {
        {0, 1, 0.25f, 0.25f},     {0, 1, -3, 0}, {0, 1, 7, 1}, {-1, 1, -0.5f, -0.5f}, {10, 20, 0, 10}, {10, 20, 25, 20},
        {0, 1, std::nanf(""), 0}, {5, 5, 6, 5},
    };
    for (const ClampCase& c : cases) {
        Ref<UI::Slider> slider = objc::adopt(UI::Slider::alloc()->initWithFrame(CGRectMake(0, 0, 200, 20)));
        slider->setMaximumValue(c.maximum);
        slider->setMinimumValue(c.minimum);
        slider->setValue(c.value);
        EXPECT_FLOAT_EQ(slider->value(), c.expected) << c.minimum << ".." << c.maximum << " set " << c.value;
    }
}

TEST_F(SliderTest, MovingAnEndOfTheRangePastTheOtherCarriesItAlongAndReclampsTheValue) {
    Ref<UI::Slider> slider = objc::adopt(UI::Slider::alloc()->initWithFrame(CGRectMake(0, 0, 200, 20)));
    slider->setValue(0.5f);
    slider->setMinimumValue(2);
    EXPECT_FLOAT_EQ(slider->maximumValue(), 2);
    EXPECT_FLOAT_EQ(slider->value(), 2);
    slider->setMaximumValue(-1);
    EXPECT_FLOAT_EQ(slider->minimumValue(), -1);
    EXPECT_FLOAT_EQ(slider->value(), -1);
}

TEST_F(SliderTest, AContinuousSliderReportsEveryMoveAndSettingFromCodeReportsNothing) {
    auto slider = makeSlider(YES);
    slider->setValue(0.5f, YES);
    EXPECT_TRUE(journal().empty());
    UI::slider::dragToValue(slider, 0.8f);
    EXPECT_NEAR(slider->value(), 0.8f, 0.005f);
    EXPECT_EQ(journal().size(), 8u);  // one per step of the finger
}

TEST_F(SliderTest, ASliderThatIsNotContinuousReportsOnceAtTouchUp) {
    auto slider = makeSlider(NO);
    UI::slider::dragToValue(slider, 0.3f);
    EXPECT_NEAR(slider->value(), 0.3f, 0.005f);
    EXPECT_EQ(journal(), (Strings{"valueChanged:"}));

    // A touch that ends where it began changes nothing and reports nothing.
    journal().clear();
    UI::slider::dragToValue(slider, slider->value());
    EXPECT_TRUE(journal().empty());
}

TEST_F(SliderTest, ATapOnTheTrackMovesTheThumbUnderTheFinger) {
    auto slider = makeSlider(YES);
    // The thumb travels between the disc's half widths: 14 .. 266 in the
    // slider, so the slider's point 140 is the middle of the range.
    UI::input::tap(screenPoint(slider, CGPointMake(140, 10)));
    EXPECT_NEAR(slider->value(), 0.5f, 1e-4f);
    EXPECT_EQ(journal(), (Strings{"valueChanged:"}));
    UI::input::tap(screenPoint(slider, CGPointMake(279, 10)));
    EXPECT_FLOAT_EQ(slider->value(), 1);
}

TEST_F(SliderTest, DraggingTheThumbKeepsWhereTheFingerHoldsIt) {
    auto slider = makeSlider(YES);
    slider->setValue(0.5f);
    // Down 10 points right of the thumb's centre (still on the thumb), then
    // 63 points further right: a quarter of the 252-point travel.
    UI::input::Finger finger(screenPoint(slider, CGPointMake(150, 10)));
    EXPECT_FLOAT_EQ(slider->value(), 0.5f);
    finger.moveTo(screenPoint(slider, CGPointMake(213, 10)));
    EXPECT_NEAR(slider->value(), 0.75f, 1e-4f);
}

TEST_F(SliderTest, ThumbImagesAreKeptPerStateAndTheHighlightedOneShowsWhileHeld) {
    auto slider = makeSlider(YES);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(31, 36), NO, 0);
    Ref<UI::Image> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(slider->thumbImageForState(UI::UIControlStateNormal), nullptr);
    slider->setThumbImage(image, UI::UIControlStateHighlighted);
    EXPECT_EQ(slider->thumbImageForState(UI::UIControlStateHighlighted), image.get());
    EXPECT_EQ(slider->thumbImageForState(UI::UIControlStateNormal), nullptr);
    EXPECT_EQ(slider->currentThumbImage(), nullptr);
    UI::input::Finger finger(screenPoint(slider, CGPointMake(14, 10)));
    EXPECT_EQ(slider->currentThumbImage(), image.get());
}

TEST_F(SliderTest, TheTrackIsTintedLeftOfTheThumbAndGreyRightOfIt) {
    Ref<UI::Slider> slider = objc::adopt(UI::Slider::alloc()->initWithFrame(CGRectMake(0, 0, 280, 20)));
    slider->setValue(0.5f);  // the thumb's centre at x 140
    uitest::Picture picture = uitest::pictureOf(slider);
    // The 2-point track is pixel rows 18 to 21 at scale 2.
    EXPECT_EQ(picture.at(100, 18), (Pixel{0, 122, 255, 255}));
    EXPECT_EQ(picture.at(100, 21), (Pixel{0, 122, 255, 255}));
    EXPECT_EQ(picture.at(500, 18), (Pixel{0xB7, 0xB7, 0xB7, 255}));
    EXPECT_EQ(picture.at(500, 21), (Pixel{0xB7, 0xB7, 0xB7, 255}));
    EXPECT_EQ(picture.at(100, 17), uitest::kClear);
    EXPECT_EQ(picture.at(100, 22), uitest::kClear);
    EXPECT_EQ(picture.at(280, 20), uitest::kWhite);  // the default thumb

    slider->setMinimumTrackTintColor(UI::Color::blackColor());
    slider->setMaximumTrackTintColor(UI::Color::redColor());
    uitest::Picture tinted = uitest::pictureOf(slider);
    EXPECT_EQ(tinted.at(100, 18), uitest::kBlack);
    EXPECT_EQ(tinted.at(500, 18), uitest::kRed);
}

TEST_F(SliderTest, AThumbImageIsCentredOnTheValuesPosition) {
    Ref<UI::Slider> slider = objc::adopt(UI::Slider::alloc()->initWithFrame(CGRectMake(0, 0, 280, 20)));
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(30, 30), NO, 0);
    UI::Color::redColor()->setFill();
    UIRectFill(CGRectMake(0, 0, 30, 30));
    Ref<UI::Image> red = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    slider->setThumbImage(red, UI::UIControlStateNormal);
    slider->setValue(1);
    // The image's right edge meets the slider's; its centre is 15 in from it.
    CGRect thumb = slider->thumbRectForBounds(slider->bounds(), slider->trackRectForBounds(slider->bounds()), 1);
    EXPECT_TRUE(CGRectEqualToRect(thumb, CGRectMake(250, -5, 30, 30)));
    uitest::Picture picture = uitest::pictureOf(slider);
    EXPECT_EQ(picture.at(530, 20), uitest::kRed);
    EXPECT_EQ(picture.at(490, 18), (Pixel{0, 122, 255, 255}));  // left of the image: tint
}

}  // namespace
