// The colour chooser's creation, views, layout, rotation and thumbs.
#include "ChooserFixture.h"

#include <Preferences/PSViewController.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace colorpicker_test;

class ChooserLayout : public ChooserTest {};

TEST_F(ChooserLayout, ControlsAreBuiltAfterAppearingAndFadeIn) {
    storeSetting("blueText", "#FF8000");
    Ref<PFColorViewController> made =
        objc::adopt(PFColorViewController::alloc()->initForContentSize(pane->view()->frame().size));
    PFColorViewControllerFields& f = colorpicker::fieldsOf(made.get());
    // Created: only the invisible panel below the bars.
    ASSERT_NE(f._pushedView, nullptr);
    EXPECT_EQ(f._pushedView->superview(), made->view());
    EXPECT_EQ(f._pushedView->alpha(), 0);
    EXPECT_EQ(f.colorPicker.get(), nullptr);
    EXPECT_EQ(f.currentAlpha, 1);
    made->setKey("blueText"_ns);
    made->setDefaults(NS::String::stringWithUTF8String(kDomain));
    navigation->pushViewController(made, YES);
    NS::loop::runFor(0.36);  // the push has ended: the colour is shown, no controls yet
    EXPECT_EQ(f.hueSlider, nullptr);
    EXPECT_EQ(text(PFColor::hexFromColor(f._pushedView->backgroundColor())), "#FF8000");
    NS::loop::runFor(0.11);  // the layout pass has run
    ASSERT_NE(f.hueSlider, nullptr);
    EXPECT_EQ(f.colorPicker->delegate(), objc::asId(made.get()));
    EXPECT_EQ(f._pushedView->alpha(), 1);
    EXPECT_EQ(text(made->navigationItem()->rightBarButtonItem()->title()), "#");
    EXPECT_EQ(made->navigationItem()->rightBarButtonItem()->action(), "chooseHexColor"_sel);

    // Half a second after it was built, the picker keeps its painted field
    // for the next chooser of its size, without any rotation.
    const std::string cache = device / "/tmp/_PFColorPickerImage_320x252.png";
    UI::updateDisplay();
    EXPECT_TRUE(f.colorPicker->shouldSaveNewCache()) << "the field was painted from scratch";
    EXPECT_FALSE(std::ifstream(cache).good());
    NS::loop::runFor(0.5);
    EXPECT_TRUE(std::ifstream(cache).good()) << "the portrait picker saved no cache";
    EXPECT_FALSE(f.colorPicker->shouldSaveNewCache());
    leaveChooser();
    openChooser();
    EXPECT_FALSE(fields().colorPicker->shouldSaveNewCache()) << "the next chooser did not draw from the cache";
}

struct ScreenCase {
    UI::screen::Model model;
    bool landscape;
    bool usesAlpha;
    CGFloat pickerHeight;
};

// "iphone4_Landscape_Alpha": stable names, so that `ctest -R` finds a case
// again; the value is printed the same way (not as the struct's bytes, whose
// padding changes from one listing to the next and is part of ctest's name).
std::string describeCase(const ScreenCase& c) {
    return std::string(UI::screen::modelName(c.model)) + (c.landscape ? "_Landscape" : "_Portrait") +
           (c.usesAlpha ? "_Alpha" : "_NoAlpha");
}
std::string screenCaseName(const ::testing::TestParamInfo<ScreenCase>& info) { return describeCase(info.param); }
void PrintTo(const ScreenCase& c, std::ostream* out) { *out << describeCase(c); }

class ChooserOnScreen : public ChooserTest, public ::testing::WithParamInterface<ScreenCase> {
protected:
    ChooserOnScreen() : ChooserTest(GetParam().model) {}
};

// Every model in either orientation, with and without alpha: the pushed view
// fills the view below the bars, the picker takes half of it (40 less where
// the screen is 480 tall, which the screen's bounds say in either
// orientation), the panel holds three or four sliders at the bottom, and the
// chooser answers portrait only, on the iPad too.
TEST_P(ChooserOnScreen, PickerTakesHalfThePanelLessFortyOnTheShortScreen) {
    const ScreenCase& c = GetParam();
    openChooser({.usesAlpha = c.usesAlpha});
    const CGSize screen = UI::Screen::mainScreen()->bounds().size;
    const CGFloat W = c.landscape ? screen.height : screen.width;
    const CGFloat H = (c.landscape ? screen.width : screen.height) - 64;
    if (c.landscape) {
        chooser->view()->setFrame(CGRectMake(0, 0, W, H + 64));
        chooser->willAnimateRotationToInterfaceOrientation(UI::UIInterfaceOrientationLandscapeRight, 0.5);
        NS::loop::runFor(0.3);
    }
    EXPECT_EQ(fields().currentAlpha, 1);
    EXPECT_TRUE(rectEquals(fields()._pushedView->frame(), 0, 64, W, H)) << describe(fields()._pushedView->frame());
    EXPECT_TRUE(rectEquals(fields().transparent->frame(), 0, 64, W, H)) << describe(fields().transparent->frame());
    EXPECT_EQ(fields().transparent->isHidden(), c.usesAlpha ? NO : YES);
    EXPECT_TRUE(rectEquals(chooser->colorPicker()->frame(), 0, 0, W, c.pickerHeight))
        << describe(chooser->colorPicker()->frame());
    const CGFloat panel = c.usesAlpha ? 180 : 140;
    EXPECT_TRUE(rectEquals(fields().controlsContainer->frame(), 0, H - panel, W, panel))
        << describe(fields().controlsContainer->frame());
    EXPECT_TRUE(rectEquals(fields().backdrop->frame(), 0, 0, W, panel)) << describe(fields().backdrop->frame());
    const UI::Slider* sliders[] = {fields().hueSlider, fields().saturationSlider, fields().brightnessSlider,
                                   fields().alphaSlider};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(rectEquals(sliders[i]->frame(), 20, 20 + 40 * i, W - 40, 20))
            << i << " " << describe(sliders[i]->frame());
    }
    EXPECT_EQ(fields().alphaSlider->isHidden(), c.usesAlpha ? NO : YES);
    EXPECT_EQ(chooser->supportedInterfaceOrientations(), UI::UIInterfaceOrientationMaskPortrait);
    EXPECT_EQ(chooser->preferredInterfaceOrientationForPresentation(), UI::UIInterfaceOrientationPortrait);
}

INSTANTIATE_TEST_SUITE_P(Models, ChooserOnScreen,
                         ::testing::Values(ScreenCase{UI::screen::Model::iPhone4, false, true, 168},
                                           ScreenCase{UI::screen::Model::iPhone4, false, false, 168},
                                           ScreenCase{UI::screen::Model::iPhone4, true, true, 88},
                                           ScreenCase{UI::screen::Model::iPhone4, true, false, 88},
                                           ScreenCase{UI::screen::Model::iPhone5, false, true, 252},
                                           ScreenCase{UI::screen::Model::iPhone5, false, false, 252},
                                           ScreenCase{UI::screen::Model::iPhone5, true, true, 128},
                                           ScreenCase{UI::screen::Model::iPhone5, true, false, 128},
                                           ScreenCase{UI::screen::Model::iPad, false, true, 480},
                                           ScreenCase{UI::screen::Model::iPad, false, false, 480},
                                           ScreenCase{UI::screen::Model::iPad, true, true, 352},
                                           ScreenCase{UI::screen::Model::iPad, true, false, 352}),
                         screenCaseName);

struct SliderExpectation {
    UI::Slider* PFColorViewControllerFields::*field;
    CGFloat centreY;
    NSInteger tag;  // public: the Settings app's driver finds the slider by it
};

constexpr SliderExpectation kSliders[] = {
    {&PFColorViewControllerFields::hueSlider, 30, colorpicker::kHueSliderTag},
    {&PFColorViewControllerFields::saturationSlider, 70, colorpicker::kSaturationSliderTag},
    {&PFColorViewControllerFields::brightnessSlider, 110, colorpicker::kBrightnessSliderTag},
    {&PFColorViewControllerFields::alphaSlider, 150, colorpicker::kAlphaSliderTag},
};

TEST_F(ChooserLayout, SlidersFillThePanelWithAlphaOnlyWhenEdited) {
    for (bool usesAlpha : {false, true}) {
        SCOPED_TRACE(usesAlpha ? "alpha" : "no alpha");
        openChooser({.usesAlpha = usesAlpha});
        const CGFloat panel = usesAlpha ? 180 : 140;
        EXPECT_TRUE(rectEquals(fields().controlsContainer->frame(), 0, 504 - panel, 320, panel));
        EXPECT_TRUE(rectEquals(fields().backdrop->frame(), 0, 0, 320, panel));
        EXPECT_EQ(fields().transparent->isHidden(), usesAlpha ? NO : YES);
        EXPECT_TRUE(rectEquals(fields().transparent->frame(), 0, 64, 320, 504))
            << describe(fields().transparent->frame());
        for (const SliderExpectation& s : kSliders) {
            UI::Slider* slider = fields().*s.field;
            EXPECT_TRUE(rectEquals(slider->frame(), 20, s.centreY - 10, 280, 20)) << describe(slider->frame());
            EXPECT_EQ(slider->minimumValue(), 0);
            EXPECT_EQ(slider->maximumValue(), 1);
            EXPECT_TRUE(slider->isContinuous());
            EXPECT_EQ(slider->superview(), fields().controlsContainer);
            EXPECT_EQ(chooser->view()->viewWithTag(s.tag), slider) << "the slider at " << s.centreY;
        }
        EXPECT_EQ(fields().alphaSlider->isHidden(), usesAlpha ? NO : YES);
        EXPECT_EQ(fields().hueSlider->isHidden(), NO);
        leaveChooser();
    }
}

TEST_F(ChooserLayout, SecondLayoutPassMovesTheSameViews) {
    openChooser({.usesAlpha = true});
    PFColorPicker* picker = chooser->colorPicker();
    UI::View* container = fields().controlsContainer;
    UI::Slider* hue = fields().hueSlider;
    UI::BarButtonItem* firstButton = fields().hexButton.get();
    objc::retain(firstButton);

    // Every pass starts again from alpha 1: an alpha left from before (the
    // slider's) goes unless the stored colour carries one; this one has none.
    storeSetting("blueText", "#336699");
    fields().currentAlpha = 0.3;
    fields().alphaSlider->setValue(0.3f);
    chooser->loadCustomViews();
    NS::loop::runFor(0.3);
    EXPECT_EQ(fields().currentAlpha, 1);
    EXPECT_EQ(fields().alphaSlider->value(), 1.0f);

    EXPECT_EQ(chooser->colorPicker(), picker);
    EXPECT_EQ(fields().controlsContainer, container);
    EXPECT_EQ(fields().hueSlider, hue);
    EXPECT_NE(fields().hexButton.get(), firstButton);  // only the button is new
    objc::release(firstButton);
    // One checkerboard, one picker, one panel; one backdrop and four sliders.
    EXPECT_EQ(fields()._pushedView->subviews()->count(), 3u);
    EXPECT_EQ(fields()._pushedView->subviews()->objectAtIndex(0), objc::asId(fields().transparent.get()));
    EXPECT_EQ(fields()._pushedView->subviews()->objectAtIndex(1), objc::asId(picker));
    EXPECT_EQ(fields()._pushedView->subviews()->objectAtIndex(2), objc::asId(container));
    EXPECT_EQ(container->subviews()->count(), 5u);
    EXPECT_EQ(container->subviews()->objectAtIndex(0), objc::asId(fields().backdrop));
    // Each pass attaches one more pan recogniser.
    EXPECT_EQ(picker->gestureRecognizers()->count(), 2u);
}

TEST_F(ChooserLayout, RotationLaysOutInTheViewLessTheBars) {
    openChooser();
    const CGSize contentSize = colorpicker::chooserContentSize();
    EXPECT_EQ(contentSize.height, 568);
    // The view turned to landscape; the chooser relays itself out in it.
    chooser->view()->setFrame(CGRectMake(0, 0, 568, 320));
    const std::string cache = device / "/tmp/_PFColorPickerImage_320x252.png";
    chooser->willAnimateRotationToInterfaceOrientation(UI::UIInterfaceOrientationLandscapeLeft, 5.0);
    EXPECT_TRUE(std::ifstream(cache).good()) << "the picker saves its cache before the rotation";
    EXPECT_EQ(colorpicker::chooserContentSize().width, 568);
    EXPECT_EQ(colorpicker::chooserContentSize().height, 256);
    NS::loop::runFor(0.3);
    EXPECT_TRUE(rectEquals(fields()._pushedView->frame(), 0, 64, 568, 256)) << describe(fields()._pushedView->frame());
    EXPECT_TRUE(rectEquals(chooser->colorPicker()->frame(), 0, 0, 568, 128));
    EXPECT_TRUE(rectEquals(fields().controlsContainer->frame(), 0, 116, 568, 140));
    EXPECT_TRUE(rectEquals(fields().hueSlider->frame(), 20, 20, 528, 20)) << describe(fields().hueSlider->frame());
    // The phone itself never turns the chooser: portrait only, on every device.
    chooser->view()->setFrame(CGRectMake(0, 0, 320, 568));
    EXPECT_EQ(chooser->supportedInterfaceOrientations(), UI::UIInterfaceOrientationMaskPortrait);
    EXPECT_EQ(chooser->preferredInterfaceOrientationForPresentation(), UI::UIInterfaceOrientationPortrait);
    EXPECT_FALSE(UI::orientation::rotate(UI::UIInterfaceOrientationLandscapeLeft));
}

TEST_F(ChooserLayout, SlidersCarryTheirLettersInEitherModel) {
    for (const char* letters : {"HSBA", "RGBA"}) {
        SCOPED_TRACE(letters);
        openChooser({.usesAlpha = true, .usesRGB = letters[0] == 'R'});
        for (std::size_t i = 0; i < 4; ++i) {
            UI::Slider* slider = fields().*kSliders[i].field;
            UI::Image* thumb = slider->thumbImageForState(UI::UIControlStateNormal);
            ASSERT_NE(thumb, nullptr);
            UI::Image* expected = PFColorViewController::thumbImageWithColor(UI::Color::whiteColor(), letters[i]);
            EXPECT_TRUE(UI::screenshot::pngData(thumb->CGImage()) == UI::screenshot::pngData(expected->CGImage())) << i;
            EXPECT_EQ(slider->thumbImageForState(UI::UIControlStateHighlighted), i == 3 ? thumb : nullptr);
            // Tints: black in HSB mode, red, green and blue in RGB mode; the alpha slider gray in both.
            const bool rgb = letters[0] == 'R';
            const CGFloat on = rgb ? 1 : 0;
            const testcolors::RGBA want[4] = {{on, 0, 0, 1}, {0, on, 0, 1}, {0, 0, on, 1}, {0.5, 0.5, 0.5, 1}};
            EXPECT_EQ(testcolors::componentsOf(slider->tintColor()), want[i]) << letters[i];
        }
        leaveChooser();
    }
}

TEST_F(ChooserLayout, ThumbIsAShadowedDiscWithABlackLetter) {
    UI::Image* thumb = PFColorViewController::thumbImageWithColor(UI::Color::whiteColor(), 'H');
    EXPECT_EQ(thumb->scale(), 2);
    EXPECT_EQ(CGImageGetWidth(thumb->CGImage()), 62u);
    EXPECT_EQ(CGImageGetHeight(thumb->CGImage()), 72u);
    Ref<UI::View> view = objc::adopt(UI::View::alloc()->initWithFrame(CGRectMake(0, 0, 31, 36)));
    view->layer()->setContents(thumb->CGImage());
    Snapshot shot(view);
    // Inside the disc of radius 14 around (15.5, 15.5), away from the letter.
    EXPECT_EQ(shot.at(4, 15.5), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(shot.at(15.5, 27), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(shot.at(2, 15.5), (Pixel{255, 255, 255, 255})) << "radius 14: white 13.5 from the centre";
    // Above the disc next to nothing: the shadow falls 3 points down.
    EXPECT_LE(shot.at(15.5, 0).a, 4);
    EXPECT_EQ(shot.at(0.5, 0.5), (Pixel{0, 0, 0, 0}));
    // Below it, the soft shadow: dark, faint.
    const Pixel shadow = shot.at(15.5, 31.5);
    EXPECT_TRUE(shadow.a > 0 && shadow.a < 128 && shadow.r == 0) << shadow;
    // The letter: black strokes where the H stands (its baseline is 21
    // points down, its left edge about 10 points in).
    int black = 0;
    for (CGFloat y = 9; y < 21; y += 0.5) {
        for (CGFloat x = 9; x < 22; x += 0.5) {
            const Pixel p = shot.at(x, y);
            if (p.a == 255 && p.r < 40 && p.g < 40 && p.b < 40) ++black;
        }
    }
    EXPECT_GT(black, 40);
    EXPECT_EQ(shot.at(15.5, 8), (Pixel{255, 255, 255, 255}));  // above the letter
}

// The chooser asks the framework at run time whether it has the content-size
// initialiser. The other kind of framework is run in a child process started
// with the switch that leaves the initialiser out.
TEST_F(ChooserLayout, CreationWorksWithAndWithoutTheContentSizeInitialiser) {
    const bool inChild = std::getenv("HB_PREFERENCES_WITHOUT_INIT_FOR_CONTENT_SIZE") != nullptr;
    EXPECT_EQ(PS::viewControllerAnswersInitForContentSize(), !inChild);
    EXPECT_EQ(NS::Object::instancesRespondToSelector("PSViewController"_cls, "initForContentSize:"_sel),
              inChild ? NO : YES);
    storeSetting("blueText", "#336699");
    openChooser();
    EXPECT_EQ(savedSetting("blueText"), "#336699");
    EXPECT_NE(fields().hueSlider, nullptr);
    EXPECT_TRUE(rectEquals(chooser->colorPicker()->frame(), 0, 0, 320, 252));
    if (inChild) return;

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("HB_PREFERENCES_WITHOUT_INIT_FOR_CONTENT_SIZE", "1", 1);
        execl("/proc/self/exe", "colorpicker_tests",
              "--gtest_filter=ChooserLayout.CreationWorksWithAndWithoutTheContentSizeInitialiser", nullptr);
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the run without the initialiser failed";
}

}  // namespace
