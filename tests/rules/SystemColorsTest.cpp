// The product's copy of the system's colours, held against the two other
// places that know them: the ChatKit stand-in's answers (what Messages shows
// when Huebloom leaves a colour alone, which the preview draws in its
// place), and the specifier lists' fallbacks (what a colour row shows while
// nothing is saved, read by the same rules as a stored value).
#include <BalloonMode.h>
#include <ColorString.h>
#include <SingleColors.h>

#include <ChatKit/ChatKit.h>
#include <Device/DevicePath.h>
#include <Preferences/SpecifierList.h>
#include <UIKit/UIKit.h>

#include "ColorReading.h"
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using huebloom::AlphaRule;
using huebloom::ColorComponents;
using huebloom::SystemColor;

using testcolors::RGBA;

RGBA of(SystemColor c) { return testcolors::hex(c.rgb, c.alpha); }
RGBA of(UI::Color* color) { return testcolors::componentsOf(color); }
RGBA of(ColorComponents c) { return {c.red, c.green, c.blue, c.alpha}; }

class SystemColorsTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;
};

TEST_F(SystemColorsTest, AreWhatChatKitAnswers) {
    UI::screen::setModel(UI::screen::Model::iPhone5);
    chatkit::registerClasses();
    CK::UIBehavior* behavior = CK::UIBehavior::sharedBehaviors();
    for (const huebloom::SingleColor& c : huebloom::kSingleColors) {
        EXPECT_EQ(of(behavior->color(objc::sel(c.selector))), of(c.system)) << c.selector;
    }
    for (std::size_t k = 0; k < huebloom::kBalloonKindCount; ++k) {
        const huebloom::BalloonKind& kind = *huebloom::balloonKinds()[k];
        NS::Array* colors =
            objc::send<NS::Array*>(behavior, objc::sel((std::string(kind.name) + "_balloonColors").c_str()));
        ASSERT_EQ(colors->count(), 2u) << kind.name;
        EXPECT_EQ(of(objc::cast<UI::Color>(colors->objectAtIndex(0))), of(SystemColor{kind.systemTop, 1})) << kind.name;
        EXPECT_EQ(of(objc::cast<UI::Color>(colors->objectAtIndex(1))), of(SystemColor{kind.systemBottom, 1}))
            << kind.name;
    }
    Ref<CK::TranscriptController> transcript = objc::adopt(CK::TranscriptController::alloc()->init());
    ASSERT_NE(transcript->view(), nullptr);
    EXPECT_EQ(of(transcript->detailsButton()->tintColor()), of(huebloom::kSystemDetailsTint));
    UI::screen::resetModel();
}

// The colour a row shows while nothing is saved under its key: the system's
// own for the single colours and the details button, the built-in stops for
// the gradients, the built-in border for transparent balloons.
std::map<std::string, std::pair<RGBA, AlphaRule>> expectedFallbacks() {
    std::map<std::string, std::pair<RGBA, AlphaRule>> want;
    for (const huebloom::SingleColor& c : huebloom::kSingleColors) want[c.key] = {of(c.system), c.alpha};
    for (std::size_t k = 0; k < huebloom::kBalloonKindCount; ++k) {
        const huebloom::BalloonKind& kind = *huebloom::balloonKinds()[k];
        const std::pair<NS::String*, NS::String*> stops[] = {
            {kind.topKey, kind.topDefault}, {kind.midKey, kind.midDefault}, {kind.botKey, kind.botDefault}};
        for (auto [key, fallback] : stops)
            want[key->UTF8String()] = {of(huebloom::parseColorString(fallback, AlphaRule::Opaque)), AlphaRule::Opaque};
    }
    want["border"] = {of(huebloom::parseColorString("#5FC6F4"_ns, AlphaRule::Opaque)), AlphaRule::Opaque};
    want["detail"] = {of(huebloom::kSystemDetailsTint), AlphaRule::Opaque};
    return want;
}

TEST_F(SystemColorsTest, AreTheColourRowsFallbacks) {
    const auto want = expectedFallbacks();
    std::map<std::string, int> seen;
    for (const char* list : {"Huebloom", "imessage", "sms", "gray", "Tb", "Bubs", "OtherS"}) {
        NS::Array* rows =
            PS::specifiersFromHostFile(std::string(HB_SOURCE_DIR) + "/prefs/Resources/" + list + ".plist", nil);
        for (NSUInteger i = 0; i < rows->count(); ++i) {
            auto* row = objc::cast<PS::Specifier>(rows->objectAtIndex(i));
            id key = row->propertyForKey("color_key"_ns);
            if (key == nil) continue;
            const std::string name = objc::cast<NS::String>(key)->UTF8String();
            auto expected = want.find(name);
            ASSERT_NE(expected, want.end()) << list << ": " << name;
            ++seen[name];
            id fallback = row->propertyForKey("color_fallback"_ns);
            ASSERT_NE(fallback, nil) << list << ": " << name << " has no fallback";
            EXPECT_EQ(of(huebloom::parseColorString(objc::cast<NS::String>(fallback), expected->second.second)),
                      expected->second.first)
                << list << ": " << name << " falls back to " << objc::cast<NS::String>(fallback)->UTF8String();
        }
    }
    EXPECT_EQ(seen.size(), want.size()) << "every colour key has a row";
}

}  // namespace
