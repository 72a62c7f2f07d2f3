// The colour chooser's reading, editing, saving and notification.
#include "ChooserFixture.h"

#include <UIKit/UINavigationBar.h>
#include <UIKit/UIPasteboard.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using namespace colorpicker_test;

class ChooserEditing : public ChooserTest {};

struct StoredCase {
    const char* name;
    bool usesAlpha;
    const char* stored;  // null: no entry
    const char* saved;   // what the screen holds after opening: "" for no entry
    Pixel shown;         // the panel's background colour
    const char* fallback = "#a1a1a1";
};

// Looking is not changing: a stored value is only normalised to the row's
// form (the same colour), and a key with no entry keeps none.
TEST_F(ChooserEditing, OpeningShowsTheStoredColourAndWritesBackOnlyWhatIsStored) {
    const StoredCase cases[] = {
        // First, while the preferences domain of this process holds nothing.
        {"no entry", false, nullptr, "", {161, 161, 161, 255}},
        {"no entry, alpha edited", true, nullptr, "", {161, 161, 161, 255}},
        // An overlay's system colour is translucent, and so is its fallback.
        {"no entry, translucent fallback", true, nullptr, "", {0, 0, 0, 26}, "#000000:0.100000"},
        {"no entry, translucent fallback, no alpha edited", false, nullptr, "", {0, 0, 0, 255}, "#000000:0.100000"},
        {"alpha part", true, "#00FF00:0.5", "#00FF00:0.500000", {0, 255, 0, 128}},
        {"no alpha part, alpha edited", true, "#00FF00", "#00FF00:1.000000", {0, 255, 0, 255}},
        {"no alpha edited", false, "#00FF00", "#00FF00", {0, 255, 0, 255}},
        // A row without alpha shows what Messages draws for its key: opaque.
        {"alpha part, no alpha edited", false, "#00FF00:0.5", "#00FF00", {0, 255, 0, 255}},
        {"lower case", false, "#ff8000", "#FF8000", {255, 128, 0, 255}},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        storeSetting("blueText", c.stored);
        // An hour old: a file that is written again shows it.
        const std::filesystem::path file = device / kSettingsPath;
        const auto old = std::filesystem::last_write_time(file) - std::chrono::hours(1);
        std::filesystem::last_write_time(file, old);
        openChooser({.usesAlpha = c.usesAlpha, .fallback = c.fallback});
        EXPECT_EQ(savedSetting("blueText"), c.saved);
        const bool normalised = c.stored != nullptr && std::string(c.stored) != c.saved;
        EXPECT_EQ(std::filesystem::last_write_time(file) != old, normalised) << "written only to normalise";
        // (The file is written behind the domain's back here, so the domain
        // only says something where the chooser wrote, or nothing was ever.)
        if (normalised || c.stored == nullptr) {
            EXPECT_EQ(domainValue("blueText"), c.saved);
        }
        EXPECT_TRUE(near(pixelOf(fields()._pushedView->backgroundColor()), c.shown))
            << pixelOf(fields()._pushedView->backgroundColor());
        // Laid out again (as on rotation), it still writes nothing new.
        chooser->loadCustomViews();
        settle();
        leaveChooser();
        EXPECT_EQ(savedSetting("blueText"), c.saved);
        if (normalised || c.stored == nullptr) {
            EXPECT_EQ(domainValue("blueText"), c.saved);
        }
    }
    EXPECT_TRUE(postedNotifications().empty()) << "nothing changed, so nothing is told";
}

TEST_F(ChooserEditing, APickOnAnUnsetTranslucentRowKeepsTheFallbacksAlpha) {
    storeSetting("blueOverlay", nullptr);
    openChooser({.key = "blueOverlay", .usesAlpha = true, .fallback = "#000000:0.100000"});
    EXPECT_FLOAT_EQ(fields().alphaSlider->value(), 0.1f);
    EXPECT_NEAR(fields().transparent->alpha(), 0.9, 1e-6);
    tapPicker(CGPointMake(160, 0));  // the centre column's top: red
    EXPECT_EQ(savedSetting("blueOverlay"), "#FF0000:0.100000");
}

// Moving only the alpha slider changes only the alpha: the red, green and
// blue bytes stay exactly as they were, visit after visit, in either slider
// model, for colours all over the cube.
TEST_F(ChooserEditing, AnAlphaMoveKeepsRedGreenAndBlueExactly) {
    std::vector<unsigned> colours = {0x336699, 0xF1C26B, 0x000000, 0xFFFFFF, 0x010203, 0xFEFDFC, 0x7F8081};
    for (unsigned i = 0; colours.size() < 24; ++i) colours.push_back((0x9E3779u * (i + 1)) & 0xFFFFFF);
    for (bool usesRGB : {false, true}) {
        for (unsigned rgb : colours) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%06X", rgb);
            SCOPED_TRACE(std::string(hex) + (usesRGB ? " RGB" : " HSB"));
            storeSetting("blueOverlay", (std::string(hex) + ":1.000000").c_str());
            for (float alpha : {0.5f, 0.25f}) {
                openChooser({.key = "blueOverlay", .usesAlpha = true, .usesRGB = usesRGB});
                setSlider(fields().alphaSlider, alpha);
                setSlider(fields().alphaSlider, alpha);  // twice: the second starts from the first's colour
                const std::string saved = savedSetting("blueOverlay");
                EXPECT_EQ(saved.substr(0, 7), hex);
                EXPECT_EQ(saved.substr(7), alpha == 0.5f ? ":0.500000" : ":0.250000");
                leaveChooser();
            }
        }
    }
}

TEST_F(ChooserEditing, APickFollowedByAnAlphaMoveKeepsThePicksHex) {
    storeSetting("blueOverlay", "#000000:1.000000");
    openChooser({.key = "blueOverlay", .usesAlpha = true});
    for (CGPoint p : {CGPointMake(37, 11), CGPointMake(101, 203), CGPointMake(250, 77), CGPointMake(300, 150)}) {
        tapPicker(p);
        const std::string picked = text(PFColor::hexFromColor(chooser->colorPicker()->lastSelectedColor()));
        setSlider(fields().alphaSlider, 0.3f);
        EXPECT_EQ(savedSetting("blueOverlay"), picked + ":0.300000");
    }
    // A move of another slider is a change of colour, and saves one.
    setSlider(fields().brightnessSlider, 0.0f);
    EXPECT_EQ(savedSetting("blueOverlay"), "#000000:0.300000");
}

TEST_F(ChooserEditing, StoredAlphaMovesTheSliderAndTheCheckerboard) {
    storeSetting("blueText", "#00FF00:0.5");
    openChooser({.usesAlpha = true});
    EXPECT_EQ(fields().alphaSlider->value(), 0.5f);
    EXPECT_EQ(fields().currentAlpha, 0.5);
    EXPECT_EQ(fields().transparent->alpha(), 0.5);
    PFColor* shown = PFColor::of(fields()._pushedView->backgroundColor());
    EXPECT_EQ(shown->alpha(), 0.5);
    EXPECT_EQ(shown->green(), 1);
    // Reading a stored alpha once the slider exists moves the slider too.
    storeSetting("blueText", "#00FF00:0.125");
    chooser->colorFromDefaults(NS::String::stringWithUTF8String(kDomain), "blueText"_ns);
    EXPECT_EQ(fields().alphaSlider->value(), 0.125f);
    EXPECT_EQ(fields().currentAlpha, 0.125);
    // Away from 0.5 the checkerboard shows 1 - the slider's alpha.
    setSlider(fields().alphaSlider, 0.25f);
    EXPECT_EQ(fields().transparent->alpha(), 0.75);
    EXPECT_EQ(fields().currentAlpha, 0.25);
}

TEST_F(ChooserEditing, EntryThatIsNotTextReadsAsAbsent) {
    NS::MutableDictionary* settings = NS::MutableDictionary::dictionary();
    settings->setObject(NS::Number::numberWithInt(7), "blueText"_ns);
    settings->setObject("#123456"_ns, "other"_ns);
    ASSERT_TRUE(settings->writeToFile(NS::String::stringWithUTF8String(kSettingsPath), YES));
    openChooser({.fallback = "#0000FF"});
    EXPECT_EQ(text(PFColor::hexFromColor(fields()._pushedView->backgroundColor())), "#0000FF");
    EXPECT_EQ(objc::cast<NS::Number>(
                  NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithUTF8String(kSettingsPath))
                      ->objectForKey("blueText"_ns))
                  ->intValue(),
              7);  // only looked at: the value stays as it was
    tapPicker(CGPointMake(160, 0));
    EXPECT_EQ(savedSetting("blueText"), "#FF0000");
    EXPECT_EQ(savedSetting("other"), "#123456");  // the rest of the file is kept
}

TEST_F(ChooserEditing, ADomainThatWouldLeaveThePreferencesFolderIsNeitherReadNorWritten) {
    // Files that such domains would reach, one folder up and in a sub-folder.
    NS::MutableDictionary* planted = NS::MutableDictionary::dictionary();
    planted->setObject("#00FF00"_ns, "blueText"_ns);
    ASSERT_TRUE(planted->writeToFile("/var/mobile/Library/x.plist"_ns, YES));
    std::filesystem::create_directories(device / "/var/mobile/Library/Preferences/sub");
    ASSERT_TRUE(planted->writeToFile("/var/mobile/Library/Preferences/sub/x.plist"_ns, YES));
    auto snapshot = [&] {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(device.path())) {
            if (!e.is_regular_file()) continue;
            std::ifstream in(e.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files.emplace_back(e.path().string(), bytes.str());
        }
        std::sort(files.begin(), files.end());
        return files;
    };
    for (const char* domain : {"../x", "sub/x", ".."}) {
        SCOPED_TRACE(domain);
        openChooser({.configured = false});
        chooser->setKey("blueText"_ns);
        chooser->setDefaults(NS::String::stringWithUTF8String(domain));
        chooser->setFallback("#0000FF"_ns);
        settle();
        const auto before = snapshot();
        // The stored colour of the planted file is not read...
        UI::Color* shown = chooser->colorFromDefaults(chooser->defaults(), chooser->key());
        EXPECT_EQ(testcolors::componentsOf(shown).g, 0.0);
        EXPECT_EQ(testcolors::componentsOf(shown).b, 1.0);
        // ...and picking saves nothing anywhere.
        tapPicker(CGPointMake(40, 40));
        settle();
        EXPECT_EQ(snapshot(), before);
        leaveChooser();
    }
}

struct SliderCase {
    const char* name;
    bool usesAlpha;
    bool usesRGB;
    const char* stored;
    UI::Slider* PFColorViewControllerFields::*slider;
    float value;
    const char* saved;
};

TEST_F(ChooserEditing, SliderMovesSaveTheColourString) {
    const SliderCase cases[] = {
        {"alpha to a quarter", true, false, "#FF0000", &PFColorViewControllerFields::alphaSlider, 0.25f,
         "#FF0000:0.250000"},
        {"hue to red", false, false, "#00FF00", &PFColorViewControllerFields::hueSlider, 0.0f, "#FF0000"},
        {"brightness to black", true, false, "#00FF00:0.5", &PFColorViewControllerFields::brightnessSlider, 0.0f,
         "#000000:0.500000"},
        {"saturation to white", false, false, "#0000FF", &PFColorViewControllerFields::saturationSlider, 0.0f,
         "#FFFFFF"},
        {"green to half", false, true, "#FF0040", &PFColorViewControllerFields::saturationSlider, 0.5f, "#FF7F40"},
    };
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(c.name);
        storeSetting("blueText", c.stored);
        openChooser({.usesAlpha = c.usesAlpha, .usesRGB = c.usesRGB});
        setSlider(fields().*c.slider, c.value);
        EXPECT_EQ(savedSetting("blueText"), c.saved);
        EXPECT_EQ(domainValue("blueText"), c.saved);
        leaveChooser();
    }
}

TEST_F(ChooserEditing, SlidersShowTheColourInEitherModel) {
    struct Case {
        bool usesRGB;
        const char* stored;
        float first, second, third;
    };
    const Case cases[] = {
        {true, "#336699", 0.2f, 0.4f, 0.6f},
        {false, "#336699", 7.0f / 12, 2.0f / 3, 0.6f},
        {false, "#000000", 0, 0, 0},
        {true, "#000000", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + (c.usesRGB ? " RGB" : " HSB"));
        storeSetting("blueText", c.stored);
        openChooser({.usesRGB = c.usesRGB});
        EXPECT_NEAR(fields().hueSlider->value(), c.first, 1e-6);
        EXPECT_NEAR(fields().saturationSlider->value(), c.second, 1e-6);
        EXPECT_NEAR(fields().brightnessSlider->value(), c.third, 1e-6);
        leaveChooser();
    }
}

TEST_F(ChooserEditing, TapsAndDragsOnThePickerSaveTheColourUnderTheFinger) {
    storeSetting("blueText", "#000000");
    openChooser();
    PFColorPicker* picker = chooser->colorPicker();
    ASSERT_TRUE(rectEquals(picker->frame(), 0, 0, 320, 252));

    tapPicker(CGPointMake(240, 126));  // hue one half, half saturated: pale cyan
    ASSERT_NE(picker->lastSelectedColor(), nullptr);
    EXPECT_TRUE(near(pixelOf(picker->lastSelectedColor()), Pixel{128, 255, 255, 255}));
    EXPECT_EQ(savedSetting("blueText"), text(PFColor::hexFromColor(picker->lastSelectedColor())));

    // A drag ends where the finger lifts: the centre column at the top is red.
    UI::input::drag(onScreen(picker, CGPointMake(20, 200)), onScreen(picker, CGPointMake(160, 0)), 6);
    EXPECT_EQ(savedSetting("blueText"), "#FF0000");
    EXPECT_EQ(text(PFColor::hexFromColor(fields()._pushedView->backgroundColor())), "#FF0000");

    // A tap on the slider panel is no pick.
    UI::input::tap(onScreen(fields().controlsContainer, CGPointMake(5, 5)));
    EXPECT_EQ(savedSetting("blueText"), "#FF0000");
}

// The picker's delegate that counts what it is told.
struct CountingState {
    int picks = 0;
};
void countPick(id self, SEL, UI::Color*) { ++objc::state<CountingState>(self).picks; }
Class countingClass() {
    static Class cls = objc::ClassBuilder("PickCounter", "NSObject"_cls)
                           .state<CountingState>()
                           .method("pickedColor:", &countPick)
                           .build();
    return cls;
}

int picksOfOneDrag(UI::Window* window, int recognisers) {
    Ref<NS::Object> counter =
        objc::adopt(objc::send<NS::Object*>(objc::send<id>(countingClass(), "alloc"_sel), "init"_sel));
    Ref<PFColorPicker> picker = objc::adopt(PFColorPicker::alloc()->initWithFrame(CGRectMake(0, 100, 320, 240)));
    picker->setDelegate(counter);
    for (int i = 0; i < recognisers; ++i) picker->makeReadyForDisplay();
    window->addSubview(picker);
    picker->layer()->displayIfNeeded();
    UI::input::drag(CGPointMake(20, 150), CGPointMake(200, 250), 8);
    picker->removeFromSuperview();
    return objc::state<CountingState>(counter.get()).picks;
}

TEST_F(ChooserEditing, EachRecogniserPicksAtEveryMovement) {
    const int one = picksOfOneDrag(window, 1);
    EXPECT_GE(one, 8);  // began, each further move, ended
    EXPECT_EQ(picksOfOneDrag(window, 2), 2 * one);
    // Without a recogniser a drag is no pick at all, but a tap still is.
    EXPECT_EQ(picksOfOneDrag(window, 0), 1);
}

struct HexCase {
    const char* name;
    const char* typed;  // null: leave the field as it starts
    const char* button;
    const char* saved;
    const char* pasteboard;  // null: untouched
};

TEST_F(ChooserEditing, HexAlertSetsCopiesOrCloses) {
    const HexCase cases[] = {
        {"set with #", "#0000FF", "Set", "#0000FF:1.000000", nullptr},
        {"set without #", "00FF00", "Set", "#FF8000:1.000000", nullptr},
        {"set with alpha part", "#00FF00:0.2", "Set", "#00FF00:1.000000", nullptr},
        {"close", "#0000FF", "Close", "#FF8000:1.000000", nullptr},
        {"copy", nullptr, "Copy", "#FF8000:1.000000", "#FF8000"},
    };
    for (const HexCase& c : cases) {
        SCOPED_TRACE(c.name);
        storeSetting("blueText", "#FF8000");
        UI::Pasteboard::generalPasteboard()->setString("untouched"_ns);
        openChooser({.usesAlpha = true});

        UI::View* button = UI::navigationBar::rightButton(navigation->navigationBar());
        ASSERT_NE(button, nullptr);
        UI::input::tap(
            onScreen(button, CGPointMake(button->bounds().size.width / 2, button->bounds().size.height / 2)));
        UI::AlertView* alert = UI::alert::visibleAlert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(text(alert->title()), "Hex Color");
        EXPECT_EQ(text(alert->message()), "Enter a hex color or copy it to your pasteboard.");
        EXPECT_EQ(alert->alertViewStyle(), UI::UIAlertViewStylePlainTextInput);
        ASSERT_EQ(alert->numberOfButtons(), 3);
        EXPECT_EQ(text(alert->buttonTitleAtIndex(0)), "Close");
        EXPECT_EQ(text(alert->buttonTitleAtIndex(1)), "Set");
        EXPECT_EQ(text(alert->buttonTitleAtIndex(2)), "Copy");
        EXPECT_EQ(text(alert->textFieldAtIndex(0)->text()), "#FF8000");

        if (c.typed != nullptr) {
            ASSERT_TRUE(UI::alert::setTextFieldText(c.typed));
        }
        ASSERT_TRUE(UI::alert::pressButton(c.button));
        settle();
        EXPECT_EQ(UI::alert::visibleAlert(), nullptr);
        EXPECT_EQ(savedSetting("blueText"), c.saved);
        EXPECT_EQ(text(UI::Pasteboard::generalPasteboard()->string()), c.pasteboard ? c.pasteboard : "untouched");
        leaveChooser();
    }
    // Copy gives the colour shown now, not the one read on appearing.
    storeSetting("blueText", "#FF8000");
    openChooser({.usesAlpha = true});
    chooser->pickedColor(UI::Color::colorWithRed(0, 0, 1, 1));
    UI::View* button = UI::navigationBar::rightButton(navigation->navigationBar());
    UI::input::tap(onScreen(button, CGPointMake(button->bounds().size.width / 2, button->bounds().size.height / 2)));
    ASSERT_TRUE(UI::alert::pressButton("Copy"));
    settle();
    EXPECT_EQ(text(UI::Pasteboard::generalPasteboard()->string()), "#0000FF");
}

TEST_F(ChooserEditing, HexSetKeepsTheSavedAlpha) {
    storeSetting("blueText", "#FF8000:0.4");
    openChooser({.usesAlpha = true});
    chooser->chooseHexColor();
    UI::alert::setTextFieldText("#123456");
    UI::alert::pressButton("Set");
    settle();
    EXPECT_EQ(savedSetting("blueText"), "#123456:0.400000");
}

TEST_F(ChooserEditing, LeavingPostsOnlyAfterAChange) {
    storeSetting("blueText", "#FF8000:0.4");
    openChooser({.usesAlpha = true});
    leaveChooser();
    EXPECT_TRUE(postedNotifications().empty());

    openChooser({.usesAlpha = true});
    setSlider(fields().alphaSlider, 0.9f);
    setSlider(fields().alphaSlider, 0.8f);
    leaveChooser();
    EXPECT_EQ(postedNotifications(), std::vector<std::string>{kNotification});

    // Changing and changing back is no change.
    openChooser({.usesAlpha = true, .usesRGB = true});
    const float before = fields().saturationSlider->value();
    setSlider(fields().saturationSlider, 0.1f);
    setSlider(fields().saturationSlider, before);
    EXPECT_EQ(savedSetting("blueText"), "#FF8000:0.800000");
    leaveChooser();
    EXPECT_EQ(postedNotifications().size(), 1u);
}

TEST_F(ChooserEditing, UnconfiguredChooserEditsWithoutSaving) {
    openChooser({.configured = false});
    ASSERT_NE(fields().hueSlider, nullptr);
    // The fallback of an unconfigured chooser is no text: opaque black.
    EXPECT_EQ(text(PFColor::hexFromColor(fields()._pushedView->backgroundColor())), "#000000");
    setSlider(fields().hueSlider, 0.5f);
    tapPicker(CGPointMake(100, 100));
    leaveChooser();
    EXPECT_FALSE(std::ifstream(device / kSettingsPath).good());
    EXPECT_TRUE(postedNotifications().empty());
}

}  // namespace
