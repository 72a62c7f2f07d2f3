// PFColorPicker: the painted field, sampling and picking, and the picker
// cache file.
#include "ColorPickerTestSupport.h"

#include "PFColorPicker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using colorpicker_test::near;
using colorpicker_test::Pixel;
using colorpicker_test::pixelOf;
using colorpicker_test::Snapshot;

// A delegate that records every colour it is told.
struct ProbeState {
    std::vector<Ref<UI::Color>> picks;
};

void probePickedColor(id self, SEL, UI::Color* color) { objc::state<ProbeState>(self).picks.push_back(color); }

Class probeClass() {
    static Class cls = objc::ClassBuilder("PickerDelegateProbe", "NSObject"_cls)
                           .state<ProbeState>()
                           .method("pickedColor:", &probePickedColor)
                           .build();
    return cls;
}

class ColorPicker : public colorpicker_test::KitTest {
protected:
    ColorPicker() {
        probe = objc::adopt(objc::send<NS::Object*>(objc::send<id>(probeClass(), "alloc"_sel), "init"_sel));
    }

    Ref<PFColorPicker> makePicker(CGRect frame) {
        Ref<PFColorPicker> picker = objc::adopt(PFColorPicker::alloc()->initWithFrame(frame));
        picker->setDelegate(probe);
        return picker;
    }

    // Paints the view's backing bitmap the way a first display does.
    static void display(PFColorPicker* picker) { picker->layer()->displayIfNeeded(); }

    std::vector<Ref<UI::Color>>& picks() { return objc::state<ProbeState>(probe.get()).picks; }

    std::string cacheFile(const char* name) const { return device / (std::string("/tmp/") + name); }

    Ref<NS::Object> probe;
};

TEST_F(ColorPicker, CacheFileNameCarriesTheSizeOnly) {
    struct Case {
        CGRect frame;
        const char* path;
    };
    const Case cases[] = {
        {CGRectMake(0, 0, 320, 240), "/tmp/_PFColorPickerImage_320x240.png"},
        {CGRectMake(17, 64, 320, 240), "/tmp/_PFColorPickerImage_320x240.png"},
        {CGRectMake(0, 0, 300.5, 200), "/tmp/_PFColorPickerImage_300.5x200.png"},
        {CGRectMake(0, 0, 568, 94), "/tmp/_PFColorPickerImage_568x94.png"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(PFColorPicker::cacheImageNameWithFrame(c.frame)->UTF8String(), c.path);
    }
}

TEST_F(ColorPicker, PaintsHueDownAndBlackToWhiteAcross) {
    Ref<PFColorPicker> picker = makePicker(CGRectMake(0, 0, 320, 240));
    display(picker);
    EXPECT_TRUE(picker->shouldSaveNewCache());
    Snapshot shot(picker);

    for (int x = 0; x < 320; ++x) {
        // The top row is all red hue: from black through red to white.
        const Pixel p = shot.at(x, 0);
        ASSERT_TRUE(std::abs(p.g - p.b) <= 1 && p.r >= p.g && p.a == 255) << "x " << x << " " << p;
    }
    EXPECT_EQ(shot.at(160, 0), (Pixel{255, 0, 0, 255}));
    EXPECT_TRUE(near(shot.at(80, 0), Pixel{128, 0, 0, 255})) << shot.at(80, 0);
    EXPECT_TRUE(near(shot.at(240, 0), Pixel{255, 128, 128, 255})) << shot.at(240, 0);

    for (int y = 0; y < 240; ++y) {
        // The left column is black; the centre column holds the pure hues.
        ASSERT_EQ(shot.at(0, y), (Pixel{0, 0, 0, 255})) << "y " << y;
        const Pixel c = shot.at(160, y);
        const int high = std::max({c.r, c.g, c.b});
        const int low = std::min({c.r, c.g, c.b});
        ASSERT_TRUE(high == 255 && low == 0) << "y " << y << " " << c;
        CGFloat hue = 0;
        UI::Color::colorWithRed(c.r / 255.0, c.g / 255.0, c.b / 255.0, 1)->getHue(&hue, nullptr, nullptr, nullptr);
        ASSERT_NEAR(hue, y / 240.0, 1.0 / 255) << "y " << y;
    }
}

TEST_F(ColorPicker, PickGivesTheColourUnderThePoint) {
    Ref<PFColorPicker> picker = makePicker(CGRectMake(0, 0, 320, 240));
    display(picker);

    // Hue one half (cyan), half saturated, full brightness.
    picker->useColorAtPoint(CGPointMake(240, 120));
    ASSERT_EQ(picks().size(), 1u);
    EXPECT_TRUE(picks()[0].get() == picker->lastSelectedColor());
    EXPECT_TRUE(near(pixelOf(picker->lastSelectedColor()), Pixel{128, 255, 255, 255}))
        << pixelOf(picker->lastSelectedColor());

    // The sample is the rendered colour itself, whatever the backing scale.
    EXPECT_EQ(pixelOf(picker->colorAtPoint(CGPointMake(160, 0))), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelOf(picker->colorAtPoint(CGPointMake(0, 100))), (Pixel{0, 0, 0, 255}));
}

TEST_F(ColorPicker, PicksOutsideTheFieldKeepTheLastColour) {
    Ref<PFColorPicker> picker = makePicker(CGRectMake(0, 0, 320, 240));
    display(picker);

    // Before any colour was accepted, a pick outside tells nobody anything.
    picker->useColorAtPoint(CGPointMake(320, 10));
    EXPECT_EQ(picks().size(), 0u);
    EXPECT_EQ(picker->lastSelectedColor(), nullptr);

    picker->useColorAtPoint(CGPointMake(0, 0));  // the corner is inside
    ASSERT_EQ(picks().size(), 1u);
    UI::Color* black = picker->lastSelectedColor();
    EXPECT_EQ(pixelOf(black), (Pixel{0, 0, 0, 255}));

    const CGPoint outside[] = {CGPointMake(320, 10), CGPointMake(10, 240), CGPointMake(-1, 5), CGPointMake(5, -0.5)};
    for (CGPoint p : outside) {
        picker->useColorAtPoint(p);
        EXPECT_EQ(picker->lastSelectedColor(), black) << p.x << "," << p.y;
    }
    // Once a colour has been accepted, the delegate hears the previous one.
    ASSERT_EQ(picks().size(), 5u);
    for (auto& c : picks()) EXPECT_EQ(c.get(), black);
}

TEST_F(ColorPicker, TransparentPixelsAreNotAccepted) {
    Ref<PFColorPicker> picker = makePicker(CGRectMake(0, 0, 320, 240));
    display(picker);
    picker->setHidden(YES);  // renders nothing: every sample is transparent black
    picker->useColorAtPoint(CGPointMake(100, 100));
    EXPECT_EQ(picks().size(), 0u);

    picker->setHidden(NO);
    picker->useColorAtPoint(CGPointMake(160, 0));
    UI::Color* red = picker->lastSelectedColor();
    picker->setHidden(YES);
    picker->useColorAtPoint(CGPointMake(100, 100));
    ASSERT_EQ(picks().size(), 2u);
    EXPECT_EQ(picks()[1].get(), red);
}

TEST_F(ColorPicker, SavesTheCacheOnceAfterPaintingAndReusesIt) {
    const std::string file = cacheFile("_PFColorPickerImage_320x240.png");
    Ref<PFColorPicker> picker = makePicker(CGRectMake(0, 0, 320, 240));
    display(picker);
    ASSERT_TRUE(picker->shouldSaveNewCache());
    picker->saveCache();
    EXPECT_FALSE(picker->shouldSaveNewCache());
    // The snapshot is taken at the screen's scale; files read at one pixel per point.
    Ref<UI::Image> saved =
        objc::adopt(UI::Image::alloc()->initWithContentsOfFile("/tmp/_PFColorPickerImage_320x240.png"_ns));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->size().width, 640);
    EXPECT_EQ(saved->size().height, 480);

    // A later picker of the same size, anywhere, draws the file.
    Ref<PFColorPicker> later = makePicker(CGRectMake(10, 64, 320, 240));
    display(later);
    EXPECT_FALSE(later->shouldSaveNewCache());
    EXPECT_TRUE(near(Snapshot(later).at(240, 120), Pixel{128, 255, 255, 255}));

    std::filesystem::remove(file);
    picker->saveCache();
    EXPECT_FALSE(std::filesystem::exists(file));
    // No temporary file is left behind either.
    for (auto& entry : std::filesystem::directory_iterator(device / "/tmp")) ADD_FAILURE() << entry.path();
}

// Writes a PNG of one colour with the given size in pixels.
void plantImage(const std::string& hostPath, CGSize pixels, UI::Color* color) {
    UIGraphicsBeginImageContextWithOptions(pixels, NO, 1);
    color->setFill();
    UIRectFill(CGRectMake(0, 0, pixels.width, pixels.height));
    NS::Data* png = UIImagePNGRepresentation(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();
    std::ofstream(hostPath, std::ios::binary)
        .write(static_cast<const char*>(png->bytes()), static_cast<std::streamsize>(png->length()));
}

// A file fits when its pixel size over the screen scale (2 on every device
// model) is the view's size.
TEST_F(ColorPicker, CacheFileIsDrawnOnlyWhenItFits) {
    const std::string file = cacheFile("_PFColorPickerImage_200x100.png");
    struct Case {
        const char* name;
        CGSize pixels;  // zero: a file that is no image
        bool drawn;
    };
    const Case cases[] = {
        {"made at this scale", CGSizeMake(400, 200), true},
        {"made at scale 1", CGSizeMake(200, 100), false},
        {"another size", CGSizeMake(400, 202), false},
        {"not an image", CGSizeMake(0, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.pixels.width > 0) {
            plantImage(file, c.pixels, UI::Color::blueColor());
        } else {
            std::ofstream(file) << "not a png";
        }
        Ref<PFColorPicker> picker = makePicker(CGRectMake(0, 0, 200, 100));
        display(picker);
        EXPECT_EQ(picker->shouldSaveNewCache(), c.drawn ? NO : YES);
        const Pixel expected = c.drawn ? Pixel{0, 0, 255, 255} : Pixel{255, 0, 0, 255};
        EXPECT_EQ(Snapshot(picker).at(100, 0), expected);
        // A field drawn from the file has nothing to save.
        std::filesystem::remove(file);
        picker->saveCache();
        EXPECT_EQ(std::filesystem::exists(file), !c.drawn);
    }
}

}  // namespace
